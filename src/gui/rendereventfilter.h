// The render's event filter: during a render only the Run/Abort button and window
// housekeeping get through; every other user input is swallowed and gone.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

class QWidget;

namespace velq {

// Whether an event of `type` may be dispatched while a render runs. `onRunButton`: the event
// goes to the Run/Abort button; `appActive`: the application is the active one;
// `pressPassed`: the press that this release ends was let through.
bool letThroughDuringRender(QEvent::Type type, bool onRunButton, bool appActive, bool pressPassed);

// Installed on the application for the duration of one render (RAII).
class RenderEventFilter : public QObject {
public:
    explicit RenderEventFilter(QWidget* runButton);
    ~RenderEventFilter() override;
    RenderEventFilter(const RenderEventFilter&) = delete;
    RenderEventFilter& operator=(const RenderEventFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> runButton_;
    bool pressPassed_ = false;
};

} // namespace velq
