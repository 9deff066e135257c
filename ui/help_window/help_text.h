#pragma once

#include <QStringList>

// The 21 lines of the help window: the problem, its diagram and how to work
// the main window. Indents are ideographic spaces; an empty string is an
// empty line.
QStringList helpLines();
