#pragma once
// MDIMenu: the only top-level window. Two toolbars start every command; the status panel shows
// the record summary, the live logger or the maker picture; every other window is a child in
// its multiple-document area.

#include "base/ui/Workspace.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <functional>
#include <map>

class QAction;
class QMimeData;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace orvan::records { class MissionRecord; }

namespace orvan::shell {

using ui::StatusPanel;

class MainWindow : public QMainWindow, public ui::Workspace {
    Q_OBJECT
public:
    using Child = ui::Child;
    // Builds a child window; the main window places it in the document area.
    using ChildFactory = std::function<QWidget*(MainWindow&)>;

    MainWindow(AppContext& app, records::MissionRecord& record, MessageSink& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: settings, unit, pictures, texts, tool tips. Errors are reported
    // through the message sink; start-up goes on after a missing picture.
    void startUp();
    // The caption with the version, as the start-up sets it; the printed reports head with it.
    void applyCaption();
    static QString versionCaption();

    void setChildFactory(Child which, ChildFactory factory);

    AppContext& app() override { return m_app; }
    records::MissionRecord& record() { return m_record; }
    MessageSink& messages() override { return m_messages; }
    StatusPanel* panel() override { return m_panel; }
    QMdiArea* mdiArea() { return m_mdi; }

    void PonerTextos();
    void DeshabilitaBotones() override;
    void HabilitaBotones() override;
    void setConnectEnabled(bool enabled) override;

    // Opens a record file as the study-from-disk command does once the file is chosen; for a file
    // given on the command line or dropped on the window.
    void openRecordFile(const QString& path);
    // The record file a drop carries (one local *.klv file), or an empty text.
    static QString droppedRecordFile(const QMimeData* data);

    // Toolbar dispatch by button index (1-based), as a click runs it.
    void toolbar1Click(int index);
    void toolbar2Click(int index);
    // Toolbar1: the seven commands, then the shipment summary (8).
    static constexpr int kToolbar1Buttons = 8;
    QAction* toolbar1Button(int index) const;   // 1..kToolbar1Buttons
    QAction* toolbar2Button(int index) const;   // 1..4
    // The records archive's button in Toolbar1.
    QAction* archiveButton() const { return m_archiveButton; }

    // Opens a child of the given kind through its factory (nothing when none is registered)
    // and places it by the child-window rule. Returns the child widget, or nullptr.
    QWidget* openChild(Child which) override;
    QMdiSubWindow* showChild(QWidget* widget) override;
    QWidget* child(Child which) const override;
    void closeChildren(std::initializer_list<Child> order) override;

    // The child-window rule in pixels: top left of the document area, panel width - 70 twips,
    // main-window height - toolbar height - panel height - 580 twips.
    QSize childSize() const override;
    void showStatusMessage(const QString& text) override;

    // The print command; set by the printing subsystem when it exists.
    std::function<void(MainWindow&, bool graficoActivo)> printHandler;

    // How long the connect command waits for the logger forms to let go of their port before it
    // opens the device-data form. The window stays responsive meanwhile.
    int connectPauseMs = 1000;

Q_SIGNALS:
    void configurationAccepted();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildToolbars();
    void buildPanel();
    void letEventsRun();
    void pause(int ms);
    // What every Toolbar1 command does first: close the views and dialogs, set the closing
    // flags, let events run. Returns the command's number.
    quint64 beginToolbar1Command();
    void runConnect(quint64 command);
    bool loadMdiBackground(const QString& path);
    void updateMdiBackground();
    static QMdiSubWindow* subWindowOf(QWidget* widget);

    AppContext& m_app;
    records::MissionRecord& m_record;
    MessageSink& m_messages;
    StatusPanel* m_panel = nullptr;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolbar1 = nullptr;
    QToolBar* m_toolbar2 = nullptr;
    QAction* m_buttons1[kToolbar1Buttons + 1] = {};
    QAction* m_buttons2[5] = {};
    QAction* m_archiveButton = nullptr;
    std::map<Child, ChildFactory> m_factories;
    std::map<Child, QPointer<QWidget>> m_children;
    QPixmap m_mdiPicture;             // "KLV-204.jpg" as loaded
    quint64 m_command = 0;            // counts toolbar commands; a newer one cancels a pending connect
    bool m_closing = false;
    bool m_statusBarWired = false;
};

} // namespace orvan::shell
