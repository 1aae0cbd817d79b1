#include "mainwindow/main_window_layout.h"

#include "mainwindow/resource.h"

const std::array<ControlLayout, kMainControlCount> kMainLayout = {{
    {IDC_LABEL1, {240, 240, 1650, 180}, 2},
    {IDC_LSTITEMS, {240, 495, 2895, 2220}, 2},
    {IDC_BTNADD, {3240, 480, 1215, 375}, 3},
    {IDC_BTNEDIT, {3240, 945, 1215, 375}, 4},
    {IDC_BTNRENAME, {3240, 1410, 1215, 375}, 26},
    {IDC_BTNDEL, {3240, 1875, 1215, 375}, 5},
    {IDC_BTNALLDEL, {3240, 2340, 1215, 375}, 6},
    {IDC_TXTCOMMENT, {240, 2880, 4215, 1215}, 7},
    {IDC_BTNEXIT, {-500, -500, 450, 375}, 0},
}};

TwipsRect MainControlTwips(MainControl control) {
  return kMainLayout[static_cast<std::size_t>(control)].twips;
}

int MainHelpTopic(MainControl control) { return kMainLayout[static_cast<std::size_t>(control)].helpTopic; }
