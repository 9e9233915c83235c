#pragma once
// QCustomPlot's header uses Qt's plain keywords, which this project switches off; give them to
// it for the length of the include only. Include this instead of <qcustomplot.h>.

#define signals Q_SIGNALS
#define slots Q_SLOTS
#define emit Q_EMIT
#define foreach Q_FOREACH
#include <qcustomplot.h>
#undef signals
#undef slots
#undef emit
#undef foreach
