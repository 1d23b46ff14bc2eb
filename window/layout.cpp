#include "layout.h"

#ifndef KX_MAKER_URL
#define KX_MAKER_URL "www.orbel-dental.de"
#endif

namespace kx {

namespace {
using Kind = ControlKind;
constexpr ControlFlag operator|(ControlFlag a, ControlFlag b) { return ControlFlag(unsigned(a) | unsigned(b)); }

// clang-format off
constexpr std::array kControls = std::to_array<ControlSpec>({
    {"Picture1", Kind::Picture, 210, 210, 2100, 600, "", "", "window", "windowtext", 0, 90, "product"},
    {"lblTitleB", Kind::Label, 2490, 300, 4545, 1050, "Inzisaltisch Auswahl", "Arial 20.25 bold", "window", "inactivecaption", 0, 1, nullptr},
    {"PicLogo", Kind::Picture, 7095, 240, 1040, 1000, "", "MS Sans Serif 8.25", "", "", Border3D, 0, "logo"},
    {"Label1", Kind::Label, 0, 1470, 8595, 495, "", "", "#0000FF", "", 0, 83, nullptr},
    {"picGe", Kind::Picture, 6405, 1575, 405, 285, "", "MS Sans Serif 8.25", "window", "windowtext", 0, 3, "flag_de"},
    {"picUS", Kind::Picture, 7035, 1575, 405, 285, "", "MS Sans Serif 8.25", "window", "windowtext", 0, 2, "flag_uk"},
    {"picIT", Kind::Picture, 7665, 1575, 450, 270, "", "", "window", "windowtext", BorderSingle, 88, "flag_it"},
    {"lblArticulatorSetting", Kind::Label, 420, 2100, 6255, 315, "Corvanta KX Artikulator: Einstellung", "Arial 12 bold", "#FFFFFF", "", 0, 82, nullptr},
    {"lblRightSide", Kind::Label, 420, 2580, 3840, 375, "right jaw", "Arial 12 bold", "window", "windowtext", 0, 4, nullptr},
    {"lblLeftSide", Kind::Label, 4500, 2580, 3600, 375, "left jaw", "Arial 12 bold", "window", "windowtext", 0, 5, nullptr},
    {"lblSCIright", Kind::Label, 420, 3060, 720, 300, "SCI", "Arial 12 bold", "window", "windowtext", 0, 6, nullptr},
    {"colorSCIright", Kind::ComboBox, 1140, 3060, 1470, 315, "black", "MS Sans Serif 8.25", "", "", 0, 10, nullptr},
    {"angleSCIright", Kind::TextBox, 2820, 3060, 480, 315, "0", "MS Sans Serif 8.25", "", "", Centered, 14, nullptr},
    {"scrSCIright", Kind::ScrollBar, 3300, 3075, 345, 310, "", "", "", "", 0, 22, nullptr},
    {"lblAngleSCIright", Kind::Label, 3780, 3090, 720, 300, "deg", "Arial 9.75", "window", "windowtext", 0, 18, nullptr},
    {"lblTCIright", Kind::Label, 420, 3540, 720, 300, "TCI", "Arial 12 bold", "window", "windowtext", 0, 8, nullptr},
    {"colorTCIright", Kind::ComboBox, 1140, 3540, 1470, 315, "white", "MS Sans Serif 8.25", "", "", 0, 12, nullptr},
    {"angleTCIright", Kind::TextBox, 2820, 3540, 480, 315, "0", "MS Sans Serif 8.25", "", "", Centered, 16, nullptr},
    {"scrTCIright", Kind::ScrollBar, 3300, 3540, 345, 310, "", "", "", "", 0, 23, nullptr},
    {"lblAngleTCIright", Kind::Label, 3780, 3540, 720, 300, "deg", "Arial 9.75", "window", "windowtext", 0, 20, nullptr},
    {"lblSCIleft", Kind::Label, 4500, 3060, 720, 300, "SCI", "Arial 12 bold", "window", "windowtext", 0, 7, nullptr},
    {"colorSCIleft", Kind::ComboBox, 5100, 3060, 1470, 315, "black", "MS Sans Serif 8.25", "", "", 0, 11, nullptr},
    {"angleSCIleft", Kind::TextBox, 6780, 3060, 480, 315, "0", "MS Sans Serif 8.25", "", "", Centered, 15, nullptr},
    {"scrSCIleft", Kind::ScrollBar, 7260, 3060, 345, 310, "", "", "", "", 0, 24, nullptr},
    {"lblAngleSCIleft", Kind::Label, 7665, 3075, 720, 300, "deg", "Arial 9.75", "window", "windowtext", 0, 19, nullptr},
    {"lblTCIleft", Kind::Label, 4500, 3540, 720, 300, "TCI", "Arial 12 bold", "window", "windowtext", 0, 9, nullptr},
    {"colorTCIleft", Kind::ComboBox, 5100, 3540, 1470, 315, "white", "MS Sans Serif 8.25", "", "", 0, 13, nullptr},
    {"angleTCIleft", Kind::TextBox, 6780, 3540, 480, 315, "0", "MS Sans Serif 8.25", "", "", Centered, 17, nullptr},
    {"scrTCIleft", Kind::ScrollBar, 7260, 3540, 345, 310, "", "", "", "", 0, 25, nullptr},
    {"lblAngleTCIleft", Kind::Label, 7665, 3540, 720, 300, "deg", "Arial 9.75", "window", "windowtext", 0, 21, nullptr},
    {"picKxtable", Kind::Picture, 3660, 4200, 1335, 1695, "", "MS Sans Serif 8.25", "window", "windowtext", 0, 48, "kxtable"},
    {"lblRightTableColor", Kind::Label, 2070, 4860, 1485, 615, "", "", "#FFFFFF", "", 0, 84, nullptr},
    {"txtRightTableColor", Kind::TextBox, 2130, 5040, 1335, 255, "", "MS Sans Serif 8.25", "", "", Centered, 49, nullptr},
    {"lblLeftTableColor", Kind::Label, 5040, 4860, 1590, 615, "", "", "#FFFFFF", "", 0, 85, nullptr},
    {"txtLeftTableColor", Kind::TextBox, 5100, 5040, 1485, 255, "", "MS Sans Serif 8.25", "", "", Centered, 50, nullptr},
    {"lblFrontTableColor", Kind::Label, 3465, 5940, 1650, 615, "", "", "#FFFFFF", "", 0, 86, nullptr},
    {"txtFrontTableColor", Kind::TextBox, 3570, 6120, 1410, 255, "", "MS Sans Serif 8.25", "", "", Centered, 51, nullptr},
    {"lblRightTeeth", Kind::Label, 420, 4440, 1560, 375, "right teeth", "Arial 12 bold", "window", "windowtext", Hidden, 52, nullptr},
    {"lblRightX", Kind::Label, 660, 4920, 360, 300, "X", "Arial 12 bold", "", "", Hidden, 55, nullptr},
    {"txtRightX", Kind::TextBox, 1140, 4920, 630, 300, "66", "MS Sans Serif 8.25", "", "", Hidden|Centered, 54, nullptr},
    {"lblRightXmm", Kind::Label, 1860, 4920, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 56, nullptr},
    {"lblRightY", Kind::Label, 660, 5280, 360, 300, "Y", "Arial 12 bold", "", "", Hidden, 58, nullptr},
    {"txtRightY", Kind::TextBox, 1140, 5280, 630, 300, "13.5", "MS Sans Serif 8.25", "", "", Hidden|Centered, 57, nullptr},
    {"lblRightYmm", Kind::Label, 1860, 5280, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 59, nullptr},
    {"lblRightZ", Kind::Label, 660, 5640, 360, 300, "Z", "Arial 12 bold", "", "", Hidden, 61, nullptr},
    {"txtRightZ", Kind::TextBox, 1140, 5640, 630, 300, "50", "MS Sans Serif 8.25", "", "", Hidden|Centered, 60, nullptr},
    {"lblRightZmm", Kind::Label, 1860, 5640, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 62, nullptr},
    {"lblLeftTeeth", Kind::Label, 6300, 4440, 1800, 375, "left teeth", "Arial 12 bold", "", "", Hidden, 53, nullptr},
    {"lblLeftX", Kind::Label, 6420, 4920, 360, 300, "X", "Arial 12 bold", "", "", Hidden, 64, nullptr},
    {"txtLeftX", Kind::TextBox, 6900, 4920, 630, 300, "66", "MS Sans Serif 8.25", "", "", Hidden|Centered, 63, nullptr},
    {"lblLeftXmm", Kind::Label, 7620, 4920, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 65, nullptr},
    {"lblLeftY", Kind::Label, 6420, 5280, 360, 300, "Y", "Arial 12 bold", "", "", Hidden, 67, nullptr},
    {"txtLeftY", Kind::TextBox, 6900, 5280, 630, 300, "13.5", "MS Sans Serif 8.25", "", "", Hidden|Centered, 66, nullptr},
    {"lblLeftYmm", Kind::Label, 7620, 5280, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 68, nullptr},
    {"lblLeftZ", Kind::Label, 6420, 5640, 360, 300, "Z", "Arial 12 bold", "", "", Hidden, 70, nullptr},
    {"txtLeftZ", Kind::TextBox, 6900, 5640, 630, 300, "50", "MS Sans Serif 8.25", "", "", Hidden|Centered, 69, nullptr},
    {"lblLeftZmm", Kind::Label, 7620, 5640, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 71, nullptr},
    {"cmdPrint", Kind::Button, 7560, 6090, 600, 600, "", "", "#E0E0E0", "", 0, 87, "printer"},
    {"notetitletxt", Kind::MultiLine, 300, 6600, 3135, 375, "Text1", "Arial 8.25 bold", "", "", 0, 80, nullptr},
    {"notetxt", Kind::MultiLine, 420, 7020, 7575, 975, "Text1", "", "", "", 0, 78, nullptr},
    {"lblHyperlink", Kind::Link, 420, 8040, 1815, 375, KX_MAKER_URL, "Arial 8.25 underlined", "highlighttext", "#0000FF", 0, 81, nullptr},
    {"copyrighttxt", Kind::MultiLine, 420, 8340, 7635, 300, "Text1", "", "", "", 0, 79, nullptr},
    {"cmdEnd", Kind::Button, 7560, 7875, 600, 600, "", "", "#E0E0E0", "", 0, 89, "exit"},
    {"lblFrontX", Kind::Label, 3480, 9240, 360, 300, "X", "Arial 12 bold", "", "", Hidden, 73, nullptr},
    {"txtFrontX", Kind::TextBox, 3960, 9240, 630, 300, "70.5", "MS Sans Serif 8.25", "", "", Hidden|Centered, 72, nullptr},
    {"lblFrontXmm", Kind::Label, 4680, 9240, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 74, nullptr},
    {"lblFrontZ", Kind::Label, 3480, 9600, 360, 300, "Z", "Arial 12 bold", "", "", Hidden, 76, nullptr},
    {"txtFrontZ", Kind::TextBox, 3960, 9600, 630, 300, "48", "MS Sans Serif 8.25", "", "", Hidden|Centered, 75, nullptr},
    {"lblFrontZmm", Kind::Label, 4680, 9600, 360, 300, "mm", "Arial 9.75", "", "", Hidden, 77, nullptr},
    {"chkDebug", Kind::CheckBox, 360, 9660, 1095, 255, "debug", "MS Sans Serif 8.25", "", "", Hidden, 47, nullptr},
    {"chkAutocalc", Kind::CheckBox, 3720, 10080, 1095, 255, "Autocalc", "MS Sans Serif 8.25", "", "", Hidden|Checked, 46, nullptr},
    {"lblscir", Kind::Label, 975, 10140, 480, 300, "sci", "Arial 9.75", "", "", Hidden, 29, nullptr},
    {"SCIright", Kind::TextBox, 1455, 10140, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 27, nullptr},
    {"lbltcir", Kind::Label, 975, 10380, 480, 300, "tci", "Arial 9.75", "", "", Hidden, 33, nullptr},
    {"TCIright", Kind::TextBox, 1455, 10380, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 31, nullptr},
    {"lblscil", Kind::Label, 5760, 10140, 480, 300, "sci", "Arial 9.75", "", "", Hidden, 30, nullptr},
    {"SCIleft", Kind::TextBox, 6240, 10140, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 28, nullptr},
    {"lbltcil", Kind::Label, 5760, 10380, 480, 300, "tci", "Arial 9.75", "", "", Hidden, 34, nullptr},
    {"TCIleft", Kind::TextBox, 6240, 10380, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 32, nullptr},
    {"cmdCalculate", Kind::Button, 3240, 10350, 2055, 495, "calculate", "Arial 12 bold", "", "", Hidden, 26, nullptr},
    {"lbltooth", Kind::Label, 3960, 10560, 600, 300, "tooth", "Arial 9.75", "", "", Hidden, 39, nullptr},
    {"lbltable", Kind::Label, 4680, 10560, 600, 300, "table", "Arial 9.75", "", "", Hidden, 40, nullptr},
    {"lbl1", Kind::Label, 3240, 10800, 600, 300, "Inc.Inf.", "Arial 9.75", "", "", Hidden, 36, nullptr},
    {"ag", Kind::TextBox, 3960, 10800, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 35, nullptr},
    {"agtable", Kind::TextBox, 4680, 10800, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 37, nullptr},
    {"lbl3right", Kind::Label, 1440, 10740, 1440, 300, "right canine", "Arial 9.75", "", "", Hidden, 38, nullptr},
    {"canineright", Kind::TextBox, 1440, 10860, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 41, nullptr},
    {"caninetableright", Kind::TextBox, 2160, 10860, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 42, nullptr},
    {"lbl3left", Kind::Label, 6240, 10680, 1440, 300, "leftcanine", "Arial 9.75", "", "", Hidden, 43, nullptr},
    {"canineleft", Kind::TextBox, 6240, 10800, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 44, nullptr},
    {"caninetableleft", Kind::TextBox, 6960, 10800, 630, 300, "0", "MS Sans Serif 8.25", "3dlight", "", Hidden|Centered, 45, nullptr},
});
// clang-format on
static_assert(kControls.size() == 91);
}  // namespace

std::span<const ControlSpec> controlSpecs() { return kControls; }

}  // namespace kx
