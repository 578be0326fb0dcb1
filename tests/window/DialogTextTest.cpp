// The program's texts in Qt's dialogs read exactly as written: "&" is no
// shortcut mark and "<" no markup.
#include "WindowFixture.h"

#include "core/MessageState.h"
#include "shell/window/MessageForm.h"
#include "shell/window/QtUi.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QTimer>
#include <functional>

using namespace qv;
using namespace qv::test;

namespace {

// What a label shows: with a buddy, "&&" is one "&" and a lone "&" marks the
// shortcut letter and is not drawn; rich text shows without its tags.
QString shown(const QLabel* l) {
    QString t = l->text();
    if (l->textFormat() == Qt::RichText || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(t)))
        t = QTextDocumentFragment::fromHtml(t).toPlainText();
    if (!l->buddy()) return t;
    QString out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] != QChar('&')) {
            out += t[i];
        } else if (i + 1 < t.size() && t[i + 1] == QChar('&')) {
            out += QChar('&');
            ++i;
        }
    }
    return out;
}

// Runs `open`, reads the label of the dialog it opens, and closes it.
QString labelOfDialog(const std::function<void()>& open) {
    QString text;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d) return;
        poll.stop();
        QLabel* label = d->findChild<QLabel*>("qt_msgbox_label");
        if (!label) label = d->findChild<QLabel*>();
        if (label) text = shown(label);
        d->close();
    });
    poll.start();
    open();
    return text;
}

} // namespace

TEST_F(WindowTest, DialogTextsShowEveryCharacterAsWritten) {
    QtUi qtUi;
    qtUi.attach(window.get());
    struct Case {
        bool input;
        const char* text;
        const char* expected;
    } cases[] = {
        {true, "Enter the full path & filename of the\rquorvel file",
         "Enter the full path & filename of the\nquorvel file"},
        {true, "Ports && links <b>now</b>", "Ports && links <b>now</b>"},
        {false, "Delete the mxf <HISTORY> file & <b>all</b>?", "Delete the mxf <HISTORY> file & <b>all</b>?"},
        {false, "<p>N7ODF: open Street Atlas</p>", "<p>N7ODF: open Street Atlas</p>"},
    };
    for (const auto& c : cases) {
        const QString got = labelOfDialog([&] {
            if (c.input)
                qtUi.input(c.text, "Quorvel", "/home/op/quorvel.mxf");
            else
                qtUi.message(c.text, "Quorvel", Buttons::Ok, Icon::Exclamation, 1);
        });
        EXPECT_EQ(got.toStdString(), c.expected) << c.text;
    }
}

// A notice written line by line keeps its lines whole where the screen has
// room: Qt alone would wrap past about 500 pixels and strand the last words.
TEST_F(WindowTest, NoticeLinesAreNotWrappedWhereTheScreenHasRoom) {
    QtUi qtUi;
    qtUi.attach(window.get());
    const std::string line = "You can choose to POST manually or turn on the TIMED 1 minute Auto-Import function.";
    for (Icon icon : {Icon::None, Icon::Exclamation}) {
        int labelWidth = 0, lineWidth = 0, screenWidth = 0;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) return;
            poll.stop();
            QApplication::processEvents();
            auto* label = d->findChild<QLabel*>("qt_msgbox_label");
            labelWidth = label->contentsRect().width();
            lineWidth = label->fontMetrics().horizontalAdvance(QString::fromStdString(line));
            screenWidth = d->screen()->availableGeometry().width();
            d->close();
        });
        poll.start();
        qtUi.message("Your current IMPORT PATH is: /q\r" + line, "Quorvel    MAP OPTION NOTICE", Buttons::Ok, icon, 1);
        ASSERT_GT(lineWidth, 500);
        if (lineWidth + 200 < screenWidth) {
            EXPECT_GE(labelWidth, lineWidth) << static_cast<int>(icon);
        }
    }
}

TEST_F(WindowTest, TheMessageWindowShowsReceivedTextAsWritten) {
    MessageForm form(window.get());
    MessageWindowState state;
    state.caption = "N7ODF: <b>open</b> Street Atlas & check";
    state.LabelReplySentString = "N7ODF>APRS::QUORVEL  :<i>ack</i> & {12";
    state.LabelMsgReply = "<u>REPLY</u>";
    form.show(state);
    EXPECT_EQ(shown(form.findChild<QLabel*>("LabelReplySentString")).toStdString(), state.LabelReplySentString);
    EXPECT_EQ(shown(form.findChild<QLabel*>("LabelMsgReply")).toStdString(), state.LabelMsgReply);
    EXPECT_EQ(form.windowTitle().toStdString(), state.caption);
    form.hide();
}
