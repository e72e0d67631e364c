#pragma once
// The About box, built at run time from the program's version information.
#include <QString>

class QDialog;
class QWidget;

namespace app {

// Empty fields are not shown.
struct TVersionInfo {
    QString productName;
    QString fileVersion;  // four dotted numbers; the last one is not shown
    QString companyName;
    QString author;
    bool IsEmpty() const;
};

// The version information the program carries: on Windows read from the
// running executable, elsewhere what the build stamped (one file per
// platform).
TVersionInfo ProgramVersionInfo();

// The outer sizes below include a window frame of these widths, so that the
// client area keeps the proportions the layout was drawn for.
inline constexpr int AboutFrameSide = 3;
inline constexpr int AboutFrameTop = 26;
inline constexpr int AboutFrameBottom = 3;

// Builds the box (owned by the caller). Its labels are named lblProduct,
// lblVersion, lblCompany, lblAuthor; the icon imgIcon, the button btnOk, the
// bevel bvlBottom; the property "outerSize" holds the computed window size.
QDialog* BuildAboutBox(const TVersionInfo& info, QWidget* parent = nullptr);

// Shows the box modally, centred on the screen; nothing when `info` is empty.
void ShowAboutBox(QWidget* parent, const TVersionInfo& info = ProgramVersionInfo());

}  // namespace app
