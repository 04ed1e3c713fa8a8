#include "tests/support/testfolder.h"
#include "widgets/centerframe.h"
#include "widgets/compiledpicture.h"
#include "widgets/darkbutton.h"
#include "widgets/darkmargin.h"
#include "widgets/focusringstyle.h"
#include "widgets/teacherguide.h"
#include "widgets/voiceplayer.h"

#include <QtTest>
#include <QtWidgets>

// Colours and sizes of the page frame, the picture button and the side panel.
class TestStyledWidgets : public QObject
{
    Q_OBJECT

private slots:
    void buttonPalette_data();
    void buttonPalette();
    void buttonStaysSquareInAnyLayout_data();
    void buttonStaysSquareInAnyLayout();
    void buttonShowsItsPicture_data();
    void buttonShowsItsPicture();
    void buttonForKeyboardAndScreenReader_data();
    void buttonForKeyboardAndScreenReader();
    void focusRingContrast();
    void frameAndMarginColours();
    void frameFonts();
    void teacherGuideOpensOnceWithItsPictures();
};

namespace {

class FrameProbe : public CenterFrame
{
public:
    FrameProbe()
        : CenterFrame(nullptr)
    {
    }
    QFont heading() const { return headingFont; }
    QFont text() const { return textFont; }
};

// Relative luminance and contrast ratio as WCAG defines them.
double luminance(const QColor &c)
{
    const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

void TestStyledWidgets::buttonPalette_data()
{
    QTest::addColumn<int>("group");
    QTest::newRow("active") << int(QPalette::Active);
    QTest::newRow("inactive") << int(QPalette::Inactive);
}

// What the button's colours are for: its face is the page's own blue, so the picture stands
// on the page; its bevel is lighter above and darker below the face; its text reads at
// least 4.5:1 against the face while it can be clicked, and fades into the face when not.
void TestStyledWidgets::buttonPalette()
{
    QFETCH(int, group);
    DarkButton button(nullptr, QStringLiteral("next.png"));
    const QPalette palette = button.palette();
    const auto colour = [&palette](QPalette::ColorGroup g, QPalette::ColorRole role) { return palette.color(g, role); };
    const auto state = QPalette::ColorGroup(group);
    QCOMPARE(colour(state, QPalette::Button), QColor(21, 21, 85));
    QCOMPARE(colour(state, QPalette::Window), QColor(21, 21, 85));
    const double face = luminance(colour(state, QPalette::Button));
    QVERIFY(luminance(colour(state, QPalette::Light)) > luminance(colour(state, QPalette::Midlight)));
    QVERIFY(luminance(colour(state, QPalette::Midlight)) > face);
    QVERIFY(face > luminance(colour(state, QPalette::Mid)));
    QVERIFY(luminance(colour(state, QPalette::Mid)) > luminance(colour(state, QPalette::Dark)));
    for (QPalette::ColorRole text : { QPalette::ButtonText, QPalette::WindowText, QPalette::Text }) {
        QVERIFY(contrast(colour(state, text), colour(state, QPalette::Button)) >= 4.5);
        QVERIFY(contrast(colour(QPalette::Disabled, text), colour(QPalette::Disabled, QPalette::Button)) < 1.5);
    }
}

void TestStyledWidgets::buttonStaysSquareInAnyLayout_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("large") << QSize(1200, 900);
    QTest::newRow("small") << QSize(30, 20);
}

void TestStyledWidgets::buttonStaysSquareInAnyLayout()
{
    QFETCH(QSize, windowSize);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *button = new DarkButton(&window, QStringLiteral("voice.png"));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(button, 10);
    window.resize(windowSize);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button->size(), QSize(64, 64));
    QCOMPARE(button->iconSize(), QSize(48, 48));
}

void TestStyledWidgets::buttonShowsItsPicture_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QSize>("size");
    QTest::newRow("next") << "next.png" << QSize(48, 48);
    QTest::newRow("voice") << "voice.png" << QSize(48, 48);
    QTest::newRow("pdf") << "pdf.png" << QSize(48, 48);
    QTest::newRow("print") << "print.png" << QSize(48, 48);
    QTest::newRow("logo") << "skrivlo64.png" << QSize(64, 64);
    QTest::newRow("splash") << "skrivlo-splash.png" << QSize(128, 64);
}

void TestStyledWidgets::buttonShowsItsPicture()
{
    QFETCH(QString, image);
    QFETCH(QSize, size);
    const QImage picture = CompiledPicture::image(image);
    QCOMPARE(picture.size(), size);
    // The compiled-in pixels are the PNG's, exactly.
    const QImage png(QStringLiteral(SKRIVLO_BUILD_DIR "/resources/images/") + image);
    QCOMPARE(picture, png);
    // A real picture, not an empty or single-coloured placeholder.
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2)
            colours.insert(picture.pixel(x, y));
    }
    QVERIFY2(colours.size() > 8, qPrintable(QStringLiteral("%1 colours").arg(colours.size())));
    QVERIFY(QFile::exists(QStringLiteral(":/images/skrivlo64.ico")));
}

void TestStyledWidgets::buttonForKeyboardAndScreenReader_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("name");
    QTest::newRow("voice") << "voice.png" << "Højttaleren";
    QTest::newRow("next") << "next.png" << "Den grønne pil";
    QTest::newRow("pdf") << "pdf.png" << "Gem som PDF-fil";
    QTest::newRow("print") << "print.png" << "Udskriv";
}

// Enter and Return press a focused picture button as Space does; a screen reader names it.
void TestStyledWidgets::buttonForKeyboardAndScreenReader()
{
    QFETCH(QString, image);
    QFETCH(QString, name);
    DarkButton button(nullptr, image);
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(&button);
    QCOMPARE(spoken->text(QAccessible::Name), name);
    QVERIFY(!spoken->text(QAccessible::Description).isEmpty());

    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&button, Qt::Key_Space);
    QCOMPARE(clicked.count(), 3);
    QTest::keyClick(&button, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(clicked.count(), 3);
}

// The ring's colour stands out at least 3:1 (WCAG contrast) against the page blue, which is
// also the button face, and against a field's white. (The journeys see it drawn 2 pixels wide.)
void TestStyledWidgets::focusRingContrast()
{
    QVERIFY(contrast(FocusRingStyle::ringColour, QColor(21, 21, 85)) >= 3.0);
    QVERIFY(contrast(FocusRingStyle::ringColour, Qt::white) >= 3.0);
}

void TestStyledWidgets::frameAndMarginColours()
{
    QWidget window;
    QPalette blue;
    blue.setColor(QPalette::Window, QColor(21, 21, 85));
    window.setPalette(blue);
    auto *frame = new CenterFrame(&window);
    auto *margin = new DarkMargin(&window);
    QCOMPARE(frame->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(!frame->autoFillBackground());
    QCOMPARE(margin->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(margin->palette().color(QPalette::Window), QColor(5, 5, 69));
    QVERIFY(margin->autoFillBackground());

    // A label placed on either without a colour of its own draws white.
    auto *label = new QLabel(QStringLiteral("tekst"), frame);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    auto *marginLabel = new QLabel(QStringLiteral("tekst"), margin);
    QCOMPARE(marginLabel->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void TestStyledWidgets::frameFonts()
{
    FrameProbe frame;
    QCOMPARE(frame.font().pointSize(), 11);
    QCOMPARE(frame.heading().pointSize(), 24);
    QCOMPARE(frame.text().pointSize(), 12);
    QCOMPARE(frame.heading().family(), frame.font().family());
}

// F1 in the recording window (and the teacher's view) shows the guide made by the build.
void TestStyledWidgets::teacherGuideOpensOnceWithItsPictures()
{
    QWidget window;
    window.show();
    QVERIFY(TeacherGuide::open(&window));
    QVERIFY(TeacherGuide::open(&window)); // raised, not opened twice
    const QList<QDialog *> guides = window.findChildren<QDialog *>(QStringLiteral("teacherGuide"));
    QCOMPARE(guides.size(), 1);
    QVERIFY(guides.first()->isVisible());
    auto *text = guides.first()->findChild<QTextBrowser *>(QStringLiteral("guideText"));
    QCOMPARE(text->documentTitle(), QStringLiteral("Vejledning til læreren"));
    const QString html = text->toHtml();
    QVERIFY(html.contains(QStringLiteral("Trin")));
    static const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
    int pictures = 0;
    for (const QRegularExpressionMatch &m : picture.globalMatch(html)) {
        ++pictures;
        const QVariant image = text->loadResource(QTextDocument::ImageResource, QUrl(m.captured(1)));
        QVERIFY2(!image.toByteArray().isEmpty(), qPrintable(m.captured(1)));
    }
    QVERIFY(pictures >= 2);
    guides.first()->close();
}

SKRIVLO_TEST_MAIN(TestStyledWidgets)
#include "tst_styledwidgets.moc"
