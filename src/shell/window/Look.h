// Shared drawing helpers: the program's colour numbers as Qt colours, texts as
// Qt strings byte for byte, and colouring a widget's background.
#pragma once

#include "core/Colour.h"

#include <QColor>
#include <QLineEdit>
#include <QString>
#include <string>

class QWidget;

namespace qv::look {

// Received text may hold any byte; Latin-1 carries every byte through a widget unchanged.
inline QString qs(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string ss(const QString& s) { return s.toLatin1().toStdString(); }

// A colour number with its high bit set names a system colour (15 = button face).
QColor colour(Colour c);

inline constexpr Colour kWhite = 16777215;
inline constexpr Colour kButtonFace = 0x8000000Fu;

// Black or white, whichever reads better on `back`.
Colour readableOn(Colour back);

// Background and text colour through the widget's style sheet; repeated calls
// with the same colours leave the widget alone.
void paint(QWidget* w, Colour back, Colour fore = 0);

// Sets the text unless the widget already shows it, so the cursor of a field
// being typed in stays put.
void setText(QLineEdit* e, const std::string& text);

// Twips as the original form measured them, as pixels.
constexpr int px(int twips) { return twips / 15; }

} // namespace qv::look
