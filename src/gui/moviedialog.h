// The questions before a movie is made: where it starts, how many frames, their size and where
// they go. The answers are kept from one movie to the next.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace velq {

struct MovieRequest {
    // From the oldest view in the history (when there is one), else from the start view.
    bool fromOldest = true;
    int frames = 300;
    QSize size{640, 480}; // sides in steps of 16, as the workers render them
    QString output;       // a folder for the frame files, or a video file
    // A name ending in .mp4 or .webm is a video; anything else a folder.
    bool video() const;
};

class MovieDialog {
public:
    // Asks, with the picture's size as the first size offered; `run` runs the dialog and says
    // whether it was accepted (null: modally). Nothing when the user cancels.
    std::optional<MovieRequest> ask(QWidget* parent, QSize pictureSize, bool hasHistory,
                                    const std::function<bool(QDialog&)>& run);

private:
    std::optional<MovieRequest> last_; // the answers of the last movie
};

} // namespace velq
