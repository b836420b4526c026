// CaptionLabel: the view of a label control. A label's "&" marks the access key of the
// control after it, which a Qt label without a buddy would print, so the caption is shown
// without it. The forms are laid out for a narrow 8 pt font; where the system font is
// wider, a one-line label shrinks its font a little rather than wrap into a line that the
// form's layout cuts off.
#pragma once

#include <QLabel>

namespace corvane::app {

class CaptionLabel : public QLabel {
public:
    explicit CaptionLabel(QWidget* parent = nullptr);

    // Shows a VB caption ("&&" is one "&", a single "&" marks the access key).
    void setCaption(const QString& caption);
    // The caption as shown, without the access key marker.
    static QString shownText(const QString& caption);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();
};

} // namespace corvane::app
