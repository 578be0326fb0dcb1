// The program's texts in Qt's dialogs read exactly as written: "&" is no
// shortcut mark, "<" no markup, and a line Qt would wrap near 500 pixels stays
// whole where the screen has room.
#include "WindowFixture.h"

#include "shell/window/QtUi.h"

#include <QLabel>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QTimer>

using namespace qv;
using namespace qv::test;

namespace {

// What a label shows: with a buddy "&&" draws one "&" and a lone "&" nothing;
// rich text shows without its tags.
QString shown(const QLabel* l) {
    QString t = l->text();
    if (l->textFormat() == Qt::RichText || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(t)))
        t = QTextDocumentFragment::fromHtml(t).toPlainText();
    if (!l->buddy()) return t;
    QString out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == QChar('&') && i + 1 < t.size()) {
            if (t[i + 1] != QChar('&')) continue; // the mark itself is not drawn
            ++i;
        }
        out += t[i];
    }
    return out;
}

} // namespace

TEST_F(WindowTest, DialogTextsShowAsWrittenAndKeepTheirLines) {
    QtUi qtUi;
    qtUi.attach(window.get());
    const char* const longLine = "You can choose to POST manually or turn on the TIMED 1 minute Auto-Import function.";
    struct Case {
        bool input;
        Icon icon;
        std::string text, expected;
    } cases[] = {
        {true, Icon::None, "Enter the full path & filename of the\rquorvel file",
         "Enter the full path & filename of the\nquorvel file"},
        {true, Icon::None, "Ports && links <b>now</b>", "Ports && links <b>now</b>"},
        {false, Icon::None, "Delete the mxf <HISTORY> file & <b>all</b>?",
         "Delete the mxf <HISTORY> file & <b>all</b>?"},
        {false, Icon::None, "<p>N7ODF: open Street Atlas</p>", "<p>N7ODF: open Street Atlas</p>"},
        {false, Icon::None, std::string("Path: /q\r") + longLine, std::string("Path: /q\n") + longLine},
        {false, Icon::Exclamation, std::string("Path: /q\r") + longLine, std::string("Path: /q\n") + longLine},
    };
    for (const auto& c : cases) {
        QString got;
        int labelWidth = 0, lineWidth = 0, screenWidth = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) return;
            poll.stop();
            QApplication::processEvents();
            QLabel* label = d->findChild<QLabel*>("qt_msgbox_label");
            if (!label) label = d->findChild<QLabel*>();
            got = shown(label);
            labelWidth = label->contentsRect().width();
            lineWidth = label->fontMetrics().horizontalAdvance(QString::fromLatin1(longLine));
            screenWidth = d->screen()->availableGeometry().width();
            d->close();
        });
        poll.start(20);
        if (c.input)
            qtUi.input(c.text, "Quorvel", "/home/op/quorvel.mxf");
        else
            qtUi.message(c.text, "Quorvel", Buttons::Ok, c.icon, 1);
        EXPECT_EQ(got.toStdString(), c.expected);
        if (!c.input && c.text.find(longLine) != std::string::npos && lineWidth + 200 < screenWidth) {
            EXPECT_GE(labelWidth, lineWidth) << static_cast<int>(c.icon);
        }
    }
}
