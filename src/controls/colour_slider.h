// The bar's trackbar class: standard trackbar behaviour, its own thumb, channel and selection painting.
#pragma once
#include "controls/slider_ctrl.h"

class CColourSliderCtrl : public CSliderCtrl {
public:
    explicit CColourSliderCtrl(WindowSystem& windows) : CSliderCtrl(windows) {}

    // The trackbar's NM_CUSTOMDRAW, forwarded by the parent; returns the notification's result.
    LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw) { return draw.dwDrawStage == 0 ? 0 : CDRF_DODEFAULT; }
};
