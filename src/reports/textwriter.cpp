#include "reports/textwriter.h"

#include "core/errors.h"
#include "data/table.h"
#include "reports/printdialog.h"
#include "reports/rawprinter.h"
#include "reports/textlayouts.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <functional>

namespace quelvarino {
namespace {

using Layout = std::function<QByteArray(const CompanyHeader&, PrintDialog&)>;

QString text(QWidget* screen, const char* control) {
    QWidget* w = screen ? screen->findChild<QWidget*>(QString::fromLatin1(control)) : nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    return QString();
}

// The courier's first phone, for the courier with exactly this code.
QString courierPhone(const QString& code) {
    Table couriers(QStringLiteral("tbmotociclista"));
    couriers.setIndexFieldNames(QStringLiteral("COD"));
    couriers.open();
    couriers.findNearest(code);
    if (couriers.isEmpty() || couriers.fieldByName("COD").asString() != code)
        return QString();
    return couriers.fieldByName("TELEFONE1").asString();
}

QByteArray serviceOrder(const CompanyHeader& company, PrintDialog& dialog) {
    QWidget* os = Screens::find(QStringLiteral("Quelvarino0021_0"));
    ServiceOrderPrint o;
    o.data = text(os, "Eddata");
    o.comanda = text(os, "Edcomanda");
    o.codcli = text(os, "Edcodcli");
    o.cliente = text(os, "Edcliente");
    o.end = text(os, "Edend");
    o.bairro = text(os, "Edbairro");
    o.cid = text(os, "Edcid");
    o.uf = text(os, "Eduf");
    o.cep = text(os, "Edcep");
    o.ddd = text(os, "Edddd");
    o.fone1 = text(os, "Edfone1");
    o.fone2 = text(os, "Edfone2");
    auto* rbtel = os ? os->findChild<QAbstractButton*>(QStringLiteral("Rbtel")) : nullptr;
    o.phones = rbtel && rbtel->isChecked();
    o.solicit = text(os, "Edsolicit");
    o.hora1 = text(os, "Edhora1");
    o.hora2 = text(os, "Edhora2");
    o.hora3 = text(os, "Edhora3");
    o.hora4 = text(os, "Edhora4");
    o.codmot = text(os, "Edcodmot");
    o.motoboy = text(os, "Edmotoboy");
    o.mar = text(os, "Edmar");
    o.mod = text(os, "Edmod");
    o.ano = text(os, "Edano");
    o.plac = text(os, "Edplac");
    o.courierPhone = courierPhone(o.codmot);
    o.obs = text(os, "Edobs");
    return serviceOrderText(company, o, dialog.twoCopies());
}

const QMap<QString, Layout>& layouts() {
    static const QMap<QString, Layout> all = {
        {"11_0",
         [](const CompanyHeader& c, PrintDialog& d) { return clientListingText(c, *d.Query1()); }},
        {"12_0",
         [](const CompanyHeader& c, PrintDialog& d) { return courierListingText(c, *d.Query1()); }},
        {"13_0", [](const CompanyHeader& c,
                    PrintDialog& d) { return expenseTypeListingText(c, *d.Query1()); }},
        {"21_0", serviceOrder},
    };
    return all;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        throw Error(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                        .arg(path, file.errorString()));
    file.close();
}

}  // namespace

bool TextWriter::knows(const QString& reportId) {
    return layouts().contains(reportId);
}

QByteArray TextWriter::render(const QString& reportId, PrintDialog& dialog) {
    const auto layout = layouts().find(reportId);
    if (layout == layouts().end())
        return QByteArray();
    return (*layout)(CompanyHeader::fromStore(), dialog);
}

void TextWriter::write(const QString& reportId, PrintDialog& dialog) {
    if (!knows(reportId))
        return;
    const QByteArray bytes = render(reportId, dialog);
    if (dialog.Edtip() == 1) {
        RawPrinter::send(bytes, QStringLiteral("Quelvarino %1").arg(reportId));
    } else if (dialog.Edtip() == dialog.fileItem()) {
        writeFile(dialog.fileItemPath(), bytes);
        MessageBox::show(QStringLiteral("A T E N Ç Ã O"),
                         QStringLiteral("Arquivo gerado com sucesso."), QMessageBox::Question,
                         QMessageBox::Ok, QMessageBox::Ok);
    }
}

}  // namespace quelvarino
