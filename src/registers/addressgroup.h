#pragma once

#include <QGroupBox>
#include <QList>
#include <QPair>

class QComboBox;
class QLineEdit;

namespace quelvarino {

class MaskEdit;

// The bank data the client and company screens keep: "Banco :", the
// agency and "Conta Corrente :" on one line (Ed_Banco, Ed_Agencia, Ed_CCor).
struct BankFields {
    QGroupBox* box;
    QLineEdit* bank;
    QLineEdit* agency;
    QLineEdit* account;
};
BankFields makeBankGroup(const QString& title, const QString& agencyCaption, QWidget* parent);

// An address block of eleven fields — street, district, city, UF, CEP, the
// area code, two phones with their kinds and a contact — as the client and
// company screens show it twice. Control names end in the block's number
// (Ed_End1, Ed_Tel2_1 …), table fields likewise (ENDERECO1, TELEFONE2_1 …).
class AddressGroup : public QGroupBox {
    Q_OBJECT
public:
    struct Captions {
        QString street = QStringLiteral("Endereço :");
        QString uf = QStringLiteral("UF :");
        QString cep = QStringLiteral("CEP :");
        QString contact = QStringLiteral("Contato :");
        int streetLength = 60;
        bool phoneMasks = true;  // 8 or 9 digits; otherwise free text of 10
        bool cepBeforeCity = false;
    };
    AddressGroup(const QString& title, int number, const Captions& captions, QWidget* parent);

    QLineEdit* Ed_End;
    QLineEdit* Ed_Bairro;
    QLineEdit* Ed_Cid;
    QComboBox* Cb_Est;
    MaskEdit* Ed_Cep;
    QLineEdit* Ed_Ddd;
    QLineEdit* Ed_Tel_1;
    QComboBox* Cb_Tipofone_1;
    QLineEdit* Ed_Tel_2;
    QComboBox* Cb_Tipofone_2;
    QLineEdit* Ed_Contato;

    // Each control with its table field, in tab order.
    QList<QPair<QWidget*, QString>> fields() const;
    QList<QComboBox*> combos() const { return {Cb_Est, Cb_Tipofone_1, Cb_Tipofone_2}; }
    // Takes every field of `other`; the combos become free text first, so
    // any copied text is accepted.
    void copyFrom(const AddressGroup& other);

private:
    int number_;
    bool cepFirst_;
};

// The two address blocks of the client and company screens, each control
// reachable by the block's index (Ed_End[0] is Ed_End1).
struct TwoAddresses {
    AddressGroup* Address[2] = {};
    QLineEdit* Ed_End[2] = {};
    QLineEdit* Ed_Bairro[2] = {};
    QLineEdit* Ed_Cid[2] = {};
    QComboBox* Cb_Est[2] = {};
    MaskEdit* Ed_Cep[2] = {};
    QLineEdit* Ed_Ddd[2] = {};
    QLineEdit* Ed_Tel_1[2] = {};
    QComboBox* Cb_Tipofone_1[2] = {};
    QLineEdit* Ed_Tel_2[2] = {};
    QComboBox* Cb_Tipofone_2[2] = {};
    QLineEdit* Ed_Contato[2] = {};

    // Block `index` (0 or 1) becomes `group`.
    void keepAddress(int index, AddressGroup* group);
};

}  // namespace quelvarino
