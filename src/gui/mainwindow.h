// The application's one window: the form from the .ui file around the DrawingView.
#pragma once

#include "gui/seams.h"
#include "ui_mainwindow.h"

#include <QMainWindow>

namespace velq {

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(Seams seams = {}, QWidget* parent = nullptr);
    // Runs the start-up sequence; false when the host is refused and the program must end.
    bool start();
    DrawingView* view() const { return ui_.drawingView; }
    Ui_MainWindow& ui() { return ui_; }

    // The client area the window may fill when zoomed, in screen coordinates.
    QRect zoomArea() const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void zoom();
    // Help > About: the icon, the version, what the program is, its licence, and About Qt.
    void about();

    Ui_MainWindow ui_;
};

} // namespace velq
