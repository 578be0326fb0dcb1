// Laid out as a grid so the columns line up across all eight rows.
#include "shell/window/SlotGrid.h"

#include "core/SlotState.h"
#include "shell/window/Look.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace qv {

namespace {

constexpr Colour kSlotColours[8] = {16711680, 192, 32768, 8388736, 0, 8388608, 16512, 16711935};

const char* const kCallIdTipClear = "The Unit ID placed in this box will be assigned this color for tracking. Not "
                                    "case sensitive. Double click to clear.";
const char* const kCallIdTip = "The Unit ID placed in this box will be assigned this color for tracking. Not case "
                               "sensitive.";
const char* const kTeamTip = "Enter your TACTICAL NAME for this Unit. DblClick to clear.";
const char* const kTrackTip = "When CHECKED the program will write any data from this station to the data files.";
const char* const kLocationTip = "This is the last reported latitude & longitude from this Call ID in DECIMAL DEGREES.";
const char* const kLastHeardTip = "Reports Date/Time Unit was last heard. Turns YELLOW if Overdue Warning activated.";

QLabel* heading(const char* name, const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

Colour SlotGrid::slotColour(int n) { return kSlotColours[n - 1]; }

SlotGrid::SlotGrid(QWidget* parent) : QGroupBox(parent) {
    setObjectName("slotGrid");
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    auto* title = heading("Label11", "Color Assignment", this);
    grid->addWidget(title, 0, 0, 1, 6);
    grid->addWidget(heading("ColorLabel", "Color", this), 1, 0);
    grid->addWidget(heading("Label9", "UNIT callsign", this), 1, 1);
    grid->addWidget(heading("Labeltacticalname", "Tactical Name", this), 1, 2);
    grid->addWidget(heading("Label15", "LAT/LONG (Decimal Degs)", this), 1, 4);
    grid->addWidget(heading("Label13", "Last Heard", this), 1, 5);

    QFont fieldFont = font();
    fieldFont.setPointSizeF(fieldFont.pointSizeF() * 1.15);
    fieldFont.setBold(true);
    // The position and time columns are as wide as their longest text, the
    // name columns a little less; stretch shares out what the window has more.
    const int positionWidth = QFontMetrics(fieldFont).horizontalAdvance(QStringLiteral("-00.0000, -000.0000")) + 14;
    const int heardWidth = fontMetrics().horizontalAdvance(QStringLiteral("12/31/2026 12:59:59 AM")) + 10;

    for (int n = 1; n <= 8; ++n) {
        Row& r = row(n);
        const QString digit = QString::number(n);
        const QChar letter = QChar('A' + n - 1);

        r.letter = new QLabel(QString(letter) + "-", this);
        r.letter->setObjectName(QString("LabelCallidLetter") + letter);
        r.letter->setAlignment(Qt::AlignCenter);
        r.letter->setMinimumWidth(34);
        r.letter->setFont(fieldFont);
        r.letter->setAutoFillBackground(true);

        r.callId = new QLineEdit(this);
        r.callId->setObjectName("CallsignID" + digit);
        r.callId->setToolTip(QString::fromLatin1(n <= 4 ? kCallIdTipClear : kCallIdTip));
        r.callId->setFont(fieldFont);
        r.callId->setMinimumWidth(115);

        r.team = new QLineEdit(this);
        r.team->setObjectName("Team" + digit + "name");
        r.team->setToolTip(QString::fromLatin1(kTeamTip));
        r.team->setFont(fieldFont);
        r.team->setMinimumWidth(95);

        r.track = new QCheckBox(QString::fromLatin1("TRACKING         \"ON\""), this);
        r.track->setObjectName("callsign" + digit + "track");
        r.track->setToolTip(QString::fromLatin1(kTrackTip));

        r.location = new QLineEdit(this);
        r.location->setObjectName("callsign" + digit + "location");
        r.location->setToolTip(QString::fromLatin1(kLocationTip));
        r.location->setReadOnly(true);
        r.location->setFocusPolicy(Qt::ClickFocus);
        r.location->setFont(fieldFont);
        r.location->setMinimumWidth(positionWidth);

        r.lastHeard = new QLabel(this);
        r.lastHeard->setObjectName("CallID" + digit + "LastHeard");
        r.lastHeard->setToolTip(QString::fromLatin1(kLastHeardTip));
        r.lastHeard->setMinimumWidth(heardWidth);
        r.lastHeard->setTextFormat(Qt::PlainText);
        r.lastHeard->setFrameShape(QFrame::Panel);
        r.lastHeard->setFrameShadow(QFrame::Sunken);
        r.lastHeard->setAlignment(Qt::AlignCenter);

        for (QLineEdit* e : {r.callId, r.team, r.location})
            look::paint(e, kSlotColours[n - 1], look::kWhite);
        look::paint(r.letter, kSlotColours[n - 1], look::kWhite);

        const int line = n + 1;
        grid->addWidget(r.letter, line, 0);
        grid->addWidget(r.callId, line, 1);
        grid->addWidget(r.team, line, 2);
        grid->addWidget(r.track, line, 3);
        grid->addWidget(r.location, line, 4);
        grid->addWidget(r.lastHeard, line, 5);
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(4, 3);
    grid->setColumnStretch(5, 2);
}

void SlotGrid::draw(const SlotState& slots, bool teamsVisible) {
    for (int n = 1; n <= 8; ++n) {
        Row& r = row(n);
        const Slot& s = slots[n];
        look::setText(r.callId, s.CallsignID);
        look::setText(r.team, s.Teamname);
        r.team->setVisible(teamsVisible);
        r.track->setChecked(s.track);
        for (QLineEdit* e : {r.callId, r.team, r.location})
            look::paint(e, s.back, s.fore);
        look::setText(r.location, s.location);
        r.location->setCursorPosition(0);
        const QString heard = look::qs(s.lastHeard);
        if (r.lastHeard->text() != heard) r.lastHeard->setText(heard);
        look::paint(r.lastHeard, s.lastHeardBack, 0);
        const QString tip = look::qs(s.letterToolTip);
        if (r.letter->toolTip() != tip) r.letter->setToolTip(tip);
    }
}

} // namespace qv
