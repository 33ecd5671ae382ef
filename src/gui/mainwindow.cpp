// The window shell: builds the form, hands it to the DrawingView, and maps zoom and close.
#include "gui/mainwindow.h"

#include "gui/localization.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace velq {

MainWindow::MainWindow(Seams seams, QWidget* parent) : QMainWindow(parent) {
    ui_.setupUi(this);
    // A compact bar: all six menus fit the 328-point window in every language, so that each
    // opens with one click instead of hiding behind an overflow button.
    ui_.menubar->setStyleSheet(QStringLiteral("QMenuBar { spacing: 0px; }"
                                              "QMenuBar::item { padding: 2px 3px; }"));
    ui_.drawingView->initWithFrame(std::move(seams));
    connect(ui_.actionZoomWindow, &QAction::triggered, this, &MainWindow::zoom);
    connect(ui_.actionFullScreen, &QAction::triggered, this,
            [this](bool on) { ui_.actionFullScreen->setChecked(ui_.drawingView->fullScreen(on)); });
    connect(ui_.actionMinimize, &QAction::triggered, this, &QWidget::showMinimized);
    connect(ui_.actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui_.actionQuit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::about() {
    QMessageBox box(this);
    box.setWindowTitle(localizedTitle("AboutApp").arg(QStringLiteral("Velquorantisphaeron")));
    box.setIconPixmap(windowIcon().pixmap(96, 96));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<h3>Velquorantisphaeron %1</h3><p>%2</p><p>%3</p>")
                    .arg(QCoreApplication::applicationVersion().toHtmlEscaped(),
                         localized("AboutText").toHtmlEscaped(),
                         localized("AboutLicence").toHtmlEscaped()));
    QPushButton* qt = box.addButton(localized("AboutQt"), QMessageBox::HelpRole);
    box.addButton(localized("Close"), QMessageBox::AcceptRole);
    connect(qt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });
    box.exec();
}

bool MainWindow::start() {
    return ui_.drawingView->awakeFromNib(ui_);
}

QRect MainWindow::zoomArea() const {
    // The screen's free area less what the window manager puts around the client area.
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return QRect(available.topLeft(), available.size() - (frame.size() - client.size()));
}

void MainWindow::zoom() {
    ui_.drawingView->windowShouldZoom(zoomArea());
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximize request is the zoom box: the program sets the frame itself.
    if (event->type() == QEvent::WindowStateChange && isMaximized() &&
        ui_.drawingView->driver().idle() && !isFullScreen())
        QTimer::singleShot(0, this, [this] {
            showNormal();
            zoom();
        });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ui_.drawingView->windowDidShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    ui_.drawingView->stopRenderForClose();
    event->accept();
}

} // namespace velq
