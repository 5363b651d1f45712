#pragma once

#include "reports/criteria.h"
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
struct ReportDefinition;

// "Tipos de Impressão": one class for every print dialog, made from its
// report's definition: its output items, its default path and its extra
// controls (the two-copies boxes of the documents, the selection block of
// the register listings). The requesting screen hands it the criteria; a
// listing's dialog chooses its records itself.
class PrintDialog : public Screen {
    Q_OBJECT
public:
    explicit PrintDialog(const ReportDefinition& report, QWidget* parent = nullptr);
    ~PrintDialog() override;

    // What the next print is of (the requesting screen's criteria).
    void setCriteria(const Criteria& criteria);
    int Edtip() const;  // the chosen output item, -1 when none
    void setEdtip(int item);
    QString fileItemPath() const;  // Edcam + ".txt"
    int fileItem() const;          // the item of "Criar um Arquivo"
    const ReportDefinition& entry() const { return report_; }
    bool twoCopies() const;
    QString defaultPath() const;
    bool isListing() const;

    void EdtipClick();
    void Btn_CaminhoClick();
    void Btn_LimparClick();
    void Btn_ImprimirClick();
    void Btn_RetornarClick();
    void selectionClick(int mode);  // Ed1Click, Ed2Click, Ed3Click of the listings
    // The listing's selection as chosen, checked; false: refused (said why).
    bool prepareListing();
    // The selection block's criteria (listings).
    Criteria listingCriteria() const;

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

    const ReportDefinition& report_;
    Criteria criteria_;
    QButtonGroup* items_;
};

}  // namespace quelvarino
