// Views of the containers: frame, captioned frame and picture box. The models place their
// children; the views only draw the frame and the caption.
#include "app/views/ControlViews.h"
#include "app/views/ViewContext.h"
#include "controls/Captioned.h"
#include "controls/Frame.h"
#include "controls/PictureBox.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

namespace corvane::app {

namespace {

// The caption bar of a captioned frame: its caption cut short with "..." where it would run
// past the bar's contents (what lies over the bar's right end narrows them), whole in its tip.
class CaptionBar : public QLabel {
public:
    using QLabel::QLabel;

    void setCaption(const QString& caption) {
        caption_ = caption;
        elide();
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ContentsRectChange || event->type() == QEvent::FontChange)
            elide();
        return QLabel::event(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() {
        const int room = std::max(0, contentsRect().width() - indent() - 2);
        const QString shown = fontMetrics().elidedText(caption_, Qt::ElideRight, room);
        if (shown != text())
            setText(shown);
        setToolTip(shown == caption_ ? QString() : caption_);
    }

    QString caption_;
};

QWidget* frameView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& frame = static_cast<controls::Frame&>(control);
    auto* view = new QGroupBox(QString::fromStdString(frame.Caption()), parent);
    context.connect(frame.PropertyChanged, [&frame, view](std::string_view property) {
        if (property == "Caption")
            view->setTitle(QString::fromStdString(frame.Caption()));
    });
    return view;
}

// The captioned frame: a caption bar of CaptionHeight twips over the area of its child.
QWidget* captionedView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& frame = static_cast<controls::Captioned&>(control);
    auto* view = new QFrame(parent);
    view->setFrameShape(QFrame::StyledPanel);
    auto* bar = new CaptionBar(view);
    bar->setObjectName(QStringLiteral("caption"));
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Mid);
    bar->setForegroundRole(QPalette::BrightText);
    bar->setIndent(4);
    QFont font = bar->font();
    font.setBold(true);
    bar->setFont(font);
    auto place = [&frame, bar] {
        bar->setCaption(QString::fromStdString(frame.Caption()));
        bar->setGeometry(0, 0, ViewContext::toPixelsX(frame.Width()),
                         ViewContext::toPixelsY(controls::Captioned::CaptionHeight));
    };
    place();
    context.connect(frame.PropertyChanged, [place](std::string_view property) {
        if (property == "Caption" || property == "Geometry")
            place();
    });
    return view;
}

QWidget* pictureBoxView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& box = static_cast<controls::PictureBox&>(control);
    auto* view = new QFrame(parent);
    auto show = [&box, view] { view->setFrameShape(box.BorderStyle() == 0 ? QFrame::NoFrame : QFrame::Box); };
    show();
    context.connect(box.PropertyChanged, [show](std::string_view property) {
        if (property == "BorderStyle")
            show();
    });
    return view;
}

} // namespace

void registerContainerViews() {
    registerControlView("Frame", frameView);
    registerControlView("Captioned", captionedView);
    registerControlView("PictureBox", pictureBoxView);
}

} // namespace corvane::app
