#pragma once
// The main window as the child windows see it: the application state, the status panel, the
// toolbar buttons they enable, and the way to open a sibling window. The subsystems' windows take
// this interface so that they never depend on the main window that hosts them.

#include <QSize>
#include <initializer_list>

class QMdiSubWindow;
class QString;
class QWidget;

namespace orvan { struct AppContext; class MessageSink; }

namespace orvan::ui {

class StatusPanel;

// The child windows by the names the toolbar commands close them by.
enum class Child { frmGrafico, frmTorta, frmHisto, AbreArch, Detalle, frmAlar, Config, frmsave, frmPrep,
                   Summary, Archive };

class Workspace {
public:
    virtual ~Workspace() = default;

    virtual AppContext& app() = 0;
    virtual MessageSink& messages() = 0;
    virtual StatusPanel* panel() = 0;

    virtual void DeshabilitaBotones() = 0;
    virtual void HabilitaBotones() = 0;
    virtual void setConnectEnabled(bool enabled) = 0;   // Toolbar1 button 2

    // Opens a child of the given kind (nothing when the application has no such window yet)
    // and places it by the child-window rule. Returns the child widget, or nullptr.
    virtual QWidget* openChild(Child which) = 0;
    // Places any widget as a child window of the document area by the child-window rule.
    virtual QMdiSubWindow* showChild(QWidget* widget) = 0;
    // The open child of that kind, or nullptr.
    virtual QWidget* child(Child which) const = 0;
    // Closes the children of these kinds, in this order, if open.
    virtual void closeChildren(std::initializer_list<Child> order) = 0;
    // The child-window rule in pixels.
    virtual QSize childSize() const = 0;

    // A passing note in the main window's status bar, for news that needs no acknowledgement.
    virtual void showStatusMessage(const QString& text) { (void)text; }
};

} // namespace orvan::ui
