#pragma once

#include "app/newsdownload.h"

#include <QMainWindow>
#include <QMap>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QTimer;

namespace quelvarino {

class MaskEdit;
class NewsPanel;

// The main window: menu, clock, status bar and the local-information panel.
class TQuelvarino000_0 : public QMainWindow {
    Q_OBJECT
public:
    explicit TQuelvarino000_0(QWidget* parent = nullptr);

    void FormCreate();    // folders and report work tables
    void FormActivate();  // date shown, date-format guard, menus enabled
    void Timer1Timer();

    QLabel* statusPanel(int index) const { return panels_.value(index); }
    QAction* menuAction(const QString& componentName) const;
    bool guardFailed() const { return guardFailed_; }

    // The workstation's short date format; tests may fix it.
    static QString workstationShortDateFormat();
    static void setShortDateFormatForTest(const QString& format);

    static QString makerName();
    static QString makerSite();  // from the installation file; empty without it

    // The connection check and news download still running beside the window.
    bool newsRunning() const;
    NewsPanel* newsPanel() const { return news_; }

signals:
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildCentral();
    void buildStatusBar();
    QAction* addEntry(QMenu* menu,
                      const QString& caption,
                      const QString& component,
                      const QString& hint,
                      const QString& screen,
                      const QString& focus);
    void loadPictures();
    void startNews();
    void showConnection(const quelvarino::NewsDownload::Connection& connection);

    QMap<QString, QAction*> actions_;
    QList<QMenu*> guardedMenus_;
    QList<QLabel*> panels_;
    QList<QLabel*> pictures_;
    QTimer* timer_ = nullptr;
    MaskEdit* edDat_ = nullptr;
    QPlainTextEdit* edTexto_ = nullptr;
    bool guardFailed_ = false;
    NewsPanel* news_ = nullptr;
    QString newsTextFile_;
    QString site_;
    QString probeAddress_;
};

extern TQuelvarino000_0* Quelvarino000_0;

// Hints after 100 ms, and readable browse-state fields: the program's look,
// set once.
void installProgramStyle();

}  // namespace quelvarino
