#pragma once
#include <QString>

// The slideshow's interval as typed: the number of seconds the text begins with. It is valid
// from 1 to 60 seconds, decimals allowed; the empty text is not valid.
bool IsValidInterval(const QString& text);

// The timer's interval for a text: its seconds in whole milliseconds (a half to the even
// neighbour), 0 when the text holds no number that fits.
int IntervalMilliseconds(const QString& text);
