#pragma once

#include <QSettings>

// An INI-like file format whose section names are written as they are, so that the
// section "[SET]" stands in the file as "[[SET]]" and not percent-encoded.
QSettings::Format TalvexSettingsFormat();
