#pragma once

#include <QDialog>

namespace corvix {

// The start-up picture with the version below it. At start only the picture shows (a
// borderless window of the picture's size); as the About window it is a dialog that also shows
// the version line and an OK button.
class Tsplash : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Splash, About };
    explicit Tsplash(Mode mode, QWidget* parent = nullptr);

    static constexpr int PictureWidth = 505;
    static constexpr int PictureHeight = 277;
    static constexpr int AboutHeight = 313;
};

// Shows the About window, modal.
void ShowAbout(QWidget* parent);

}  // namespace corvix
