#pragma once

#include "widgets/screen.h"

#include <QStringList>
#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

namespace quelvarino {

class MaskEdit;
class Query;
struct ReportEntry;

// "Tipos de Impressão": one class for every print dialog. A dialog is
// configured by its report id, its output items, its default path and its
// extra controls (the two-copies boxes of the documents, the selection
// block of the register listings).
class PrintDialog : public Screen {
    Q_OBJECT
public:
    enum class Listing { None, Clients, Couriers, ExpenseTypes };
    struct Config {
        QString instance;
        QString reportId;
        QString requester;  // instance of the screen that prints
        Listing listing = Listing::None;
        std::function<QString()> defaultPath;  // without extension
    };

    explicit PrintDialog(const Config& config, QWidget* parent = nullptr);
    ~PrintDialog() override;

    const Config& config() const { return config_; }
    int Edtip() const;  // the chosen output item, -1 when none
    void setEdtip(int item);
    QString fileItemPath() const;  // Edcam + ".txt"
    int fileItem() const;          // the item of "Criar um Arquivo"
    const ReportEntry* entry() const { return entry_; }
    bool twoCopies() const;
    Query* Query1() const { return query_.get(); }
    QString defaultPath() const;

    void EdtipClick();
    void Btn_CaminhoClick();
    void Btn_LimparClick();
    void Btn_ImprimirClick();
    void Btn_RetornarClick();
    void selectionClick(int mode);  // Ed1Click, Ed2Click, Ed3Click of the listings
    // The listing's rows selected as chosen; false: refused (said why).
    bool prepareListing();

    QLabel* Lbdata;
    QLineEdit* Edcam;
    QToolButton* Btn_Caminho;
    QPushButton* Btn_Limpar;
    QPushButton* Btn_Imprimir;
    QPushButton* Btn_Retornar;
    // Two copies (documents).
    QCheckBox* Ed1Copy = nullptr;
    QCheckBox* Ed2Copy = nullptr;
    // Selection block (register listings).
    QRadioButton* Ed1 = nullptr;
    QRadioButton* Ed2 = nullptr;
    QRadioButton* Ed3 = nullptr;
    MaskEdit* Eddata1 = nullptr;
    MaskEdit* Eddata2 = nullptr;
    QLineEdit* Edcod1 = nullptr;
    QLineEdit* Edcod2 = nullptr;
    QComboBox* Ed_Ord = nullptr;

protected:
    void FormActivate() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildSelectionBlock(QVBoxLayout* layout);
    // The outputs to choose, the copies, the file path and the buttons.
    void buildKinds(QVBoxLayout* layout);
    void buildCopies(QVBoxLayout* layout);
    void buildPath(QVBoxLayout* layout);
    void buildButtons(QVBoxLayout* layout);
    void resetSelection();
    void route();
    void closeAndShowRequester();
    QString listingTable() const;
    QString listingKey() const;
    QString orderLine() const;

    Config config_;
    const ReportEntry* entry_;
    QButtonGroup* items_;
    std::unique_ptr<Query> query_;
};

}  // namespace quelvarino
