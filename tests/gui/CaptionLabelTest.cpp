// The label view: VB access key markers are not printed, and a one-line label whose caption
// is wider than the form made room for shrinks its font instead of wrapping out of sight.
#include "gui/GuiTestSupport.h"

#include "app/views/CaptionLabel.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace corvane::test {

TEST(CaptionLabel, ShowsCaptionsWithoutAccessKeyMarkersAndFitsOneLineLabels) {
    ensureApplication();
    EXPECT_EQ(app::CaptionLabel::shownText(QStringLiteral("Change &to:")), QStringLiteral("Change to:"));
    EXPECT_EQ(app::CaptionLabel::shownText(QStringLiteral("Save && Exit")), QStringLiteral("Save & Exit"));
    EXPECT_EQ(app::CaptionLabel::shownText(QStringLiteral("&&&Go&")), QStringLiteral("&Go&"));

    QWidget form;
    QFont base = form.font();
    base.setPointSizeF(10);
    form.setFont(base);
    app::CaptionLabel label(&form);
    form.show(); // a hidden widget gets its resize events only when shown
    QString text = QStringLiteral("Not in dictionary:");
    double needed = QFontMetricsF(base).horizontalAdvance(text);
    int lineHeight = static_cast<int>(QFontMetricsF(base).height());

    // One line that is too narrow: no wrapping, a smaller font that fits (within 25 %).
    label.setGeometry(0, 0, static_cast<int>(needed * 0.85), lineHeight + 2);
    label.setCaption(QStringLiteral("Not in &dictionary:"));
    EXPECT_EQ(label.text(), text);
    EXPECT_FALSE(label.wordWrap());
    EXPECT_LT(label.font().pointSizeF(), 10.0);
    EXPECT_LE(QFontMetricsF(label.font()).horizontalAdvance(text), label.width() + 1.0);

    // Room enough, or room for several lines: the form's font, wrapped where it is tall.
    label.resize(static_cast<int>(needed) + 10, lineHeight + 2);
    EXPECT_DOUBLE_EQ(label.font().pointSizeF(), 10.0);
    label.resize(static_cast<int>(needed * 0.5), lineHeight * 3);
    EXPECT_TRUE(label.wordWrap());
    EXPECT_DOUBLE_EQ(label.font().pointSizeF(), 10.0);

    // Wrapped text with more lines than the label's height holds: a smaller font that fits.
    QString paragraph = QStringLiteral("Please identify your primary language.  When you are editing Help Text for "
                                       "other languages, the Help text in your primary language is the reference.");
    label.setCaption(paragraph);
    int width = 340;
    QRectF atBase = QFontMetricsF(base).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, paragraph);
    label.resize(width, static_cast<int>(atBase.height() * 0.85));
    EXPECT_TRUE(label.wordWrap());
    EXPECT_LT(label.font().pointSizeF(), 10.0);
    QRectF shown = QFontMetricsF(label.font()).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, paragraph);
    EXPECT_LE(shown.height(), label.height());
}

} // namespace corvane::test
