#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <functional>

namespace quelvarino {

// The form of payment a closing selects.
enum class Payment {
    Unchosen,
    AVista,  // "À VISTA"
    Outros,  // every other form: "FATURADO", "OUTROS"
    Total,   // every form (the totalizer's "Total")
};

// What the totalizer groups by.
enum class GroupBy { Unchosen, Clients, Couriers };

// Which records a register listing prints.
enum class Selection { Unchosen, Complete, Period, Codes };

// What one print asks: whatever the report takes, typed. The screens, the
// print dialogs and the command line fill it; a report reads nothing else.
struct Criteria {
    QDate from, to;  // the period; null: not given
    Payment payment = Payment::Unchosen;
    int order = -1;           // the chosen "Ordenar por" item; -1: none
    QString client, courier;  // codes of the one client or courier
    GroupBy groupBy = GroupBy::Unchosen;
    Selection selection = Selection::Unchosen;
    QString codeFrom, codeTo;  // a listing "por Intervalos"
    // A document: its number, and the record as its screen shows it (field
    // name → text); with no record the stored one is printed.
    QString number;
    QHash<QString, QString> record;
    bool twoCopies = false;  // "2 Vias ou Formulario Comum"
    // Told how far a long collection has gone (rows done, rows in all).
    std::function<void(int done, int total)> progress;

    bool periodGiven() const { return from.isValid() && to.isValid(); }
};

// Why a print is refused: the operator's message and the control (by its
// name) that takes the focus; an empty text is no refusal.
struct Refusal {
    QString text;
    QString focus;
    bool refused() const { return !text.isEmpty(); }
};

}  // namespace quelvarino
