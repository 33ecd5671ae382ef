// The render's event filter: during a render only window housekeeping and Abort get through;
// every other user input is swallowed and gone.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace velq {

enum class RenderInput { Pass, Swallow, Abort };

// What happens to an event of `type` (with `key` for key events) while a render runs.
// `onRunButton`: the event is addressed to the Run/Abort button; `atRunButton`: its pointer lies
// on that button, whichever widget it is addressed to (an open popup takes every press);
// `appActive`: the application is the active one; `pressPassed`: the press that this release
// ends was let through.
RenderInput duringRender(QEvent::Type type, int key, bool onRunButton, bool atRunButton,
                         bool appActive, bool pressPassed);

// Installed on the application for the duration of one render (RAII). `abort` is called for
// Escape and for a press on the Run/Abort button that some popup would take.
class RenderEventFilter : public QObject {
public:
    RenderEventFilter(QWidget* runButton, std::function<void()> abort);
    ~RenderEventFilter() override;
    RenderEventFilter(const RenderEventFilter&) = delete;
    RenderEventFilter& operator=(const RenderEventFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> runButton_;
    std::function<void()> abort_;
    bool pressPassed_ = false;
};

} // namespace velq
