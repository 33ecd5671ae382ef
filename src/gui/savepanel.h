// The save options that sit inside the Save panel: the file type, the typed export size and
// antialiasing. They keep their values from one Save to the next.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QFileDialog;
class QLabel;
class QLineEdit;
class QWidget;
class Ui_SaveOptions;

namespace velq {

class SavePanel {
public:
    // File-type tags of the options: a parameter file, or one of ExportKind's PNG kinds.
    static constexpr int kParameterFile = 1;

    SavePanel();
    ~SavePanel();
    SavePanel(const SavePanel&) = delete;
    SavePanel& operator=(const SavePanel&) = delete;

    // Builds the options, kept by `owner` while no panel shows them.
    void create(QWidget* owner);
    // Shows the options inside `panel` for one Save; detach() takes them back.
    void attach(QFileDialog& panel);
    void detach(QWidget* owner);

    // The chosen type's tag; the panel's suffix and filter and the size fields follow it.
    int fileType() const;
    void savefiletype();
    int typedWidth() const;
    int typedHeight() const;
    bool antialias() const;
    // The window's picture size, shown in the option that exports at it.
    void showCurrentSize(int winx, int winy);
    void localize();

    QButtonGroup* savepaneltype() const { return savepaneltype_; }
    QWidget* savepanelview() const { return savepanelview_; }

private:
    std::unique_ptr<Ui_SaveOptions> ui_;
    QWidget* savepanelview_ = nullptr;
    QButtonGroup* savepaneltype_ = nullptr; // button ids are the file-type tags
    QPointer<QFileDialog> sp;               // the panel of the current Save
};

} // namespace velq
