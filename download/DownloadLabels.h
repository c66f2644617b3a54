#pragma once

#include <QString>

// The progress label's texts for a download: the share of rows done, then the outcome.
namespace DownloadLabels {

// " 0%" at the start, then the share of rows done printed as "%2d%%" (" 5%", "50%").
QString Progress(int done, int total);
// "Success" in the interface language, or "Fail!".
QString Outcome(bool success);

} // namespace DownloadLabels
