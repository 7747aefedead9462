// Page "sliders": the seven correction sliders of the source page, upright, and three horizontal
// sliders that are checked, disabled and plain.
#include "DemoPages.h"

#include "TrackbarObjectUserInterface2.h"

namespace {

using Trackbar = TrackbarObjectUserInterface2;

constexpr uint32_t CorrectionId = 2008;
constexpr uint32_t StatesId = 2100;

struct Slider
{
    const char* m_thumb;
    int32_t m_command;
    uint32_t m_state;
    float m_minimum, m_maximum, m_value, m_default;
};

const Slider CorrectionSliders[] = {
    {"CorrectImageTrackbarSliderBright.bmp", 1009, 1, 1, 101, 51, 51},
    {"CorrectImageTrackbarSliderContrast.bmp", 1010, 1, 1, 101, 71, 51},
    {"CorrectImageTrackbarSliderSaturation.bmp", 1011, 0, 1, 101, 31, 51},
    {"CorrectImageTrackbarSliderHue.bmp", 1012, 0, 1, 361, 181, 181},
    {"CorrectImageTrackbarSliderSharp.bmp", 1013, 0, 1, 101, 91, 51},
    {"CorrectImageTrackbarSliderFrameRateCamera.bmp", 1014, 0, 1, 30, 10, 1},
    {"CorrectImageTrackbarSliderFrameRate.bmp", 1018, 0, 1, 30, 3, 1},
};

const Slider StateSliders[] = {
    {"CorrectImageTrackbarSliderNoseRemove.bmp", 1015, Trackbar::StateCheckable | Trackbar::StateChecked, 1, 100, 70, 1},
    {"CorrectImageTrackbarSliderDWTNoiseRemove.bmp", 1019, Trackbar::StateDisabled, 1, 100, 40, 1},
    {"CorrectImageTrackbarSliderNoseRemove2.bmp", 1017, 0, 1, 101, 20, 51},
};

template <size_t N>
void DescribeSliders(InfoChildPageUserInterface2& cell, const Slider (&sliders)[N], uint32_t orientation)
{
    DescribeElements(cell, orientation, sliders, 4, [](InfoElementUserInterface2& element, const Slider& slider) {
        element.Field(Trackbar::FieldThumbPicture).SetText(slider.m_thumb);
        element.Field(1).SetText("");
        element.Field(2).SetFloat(0.0f);
        element.Field(4).SetText("");
        element.Field(Trackbar::FieldMinimum).SetFloat(slider.m_minimum);
        element.Field(Trackbar::FieldMaximum).SetFloat(slider.m_maximum);
        element.Field(Trackbar::FieldValue).SetFloat(slider.m_value);
        element.Field(Trackbar::FieldDefault).SetFloat(slider.m_default);
    });
}

InfoTypedValueUserInterface2 Float(float value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetFloat(value);
    return typed;
}

} // namespace

void DescribeSlidersPage(InfoPageUserInterface2& description)
{
    description.SetSizeTable(2, 2);
    description.m_columns.GetElement(0).m_size = 560.0f;
    description.m_columns.GetElement(1).m_size = 1.0f;
    description.m_rows.GetElement(0).m_size = 214.0f;
    description.m_rows.GetElement(1).m_size = 1.0f;
    DescribeSliders(DescribeCell(description, 0, 0, ChildKindTrackbar, CorrectionId, "Correction"), CorrectionSliders,
                    Trackbar::OrientationVertical);
    DescribeSliders(DescribeCell(description, 1, 0, ChildKindTrackbar, StatesId, "Checked, disabled, plain"),
                    StateSliders, Trackbar::OrientationHorizontal);
}

void ConfigureSlidersPage(PageObjectUserInterface2& page)
{
    const std::vector<const char*> skins = {
        "CorrectImageTrackbarBackground.bmp",        "CorrectImageTrackbarForground.bmp",
        "CorrectImageTrackbarBackgroundStencil.bmp", "CorrectImageTrackbarGenerateStencil.bmp",
        "CorrectImageTrackbarSliderStencil.bmp",     "CorrectImageTrackbarForgroundStencil.bmp"};
    SendProperties(page, CorrectionId, ChildKindTrackbar, skins,
                   {{Trackbar::PropertyThumbLength, Float(58.0f)}, {Trackbar::PropertyThumbBreadth, Float(0.8f)}});
    SendProperties(page, StatesId, ChildKindTrackbar, skins,
                   {{Trackbar::PropertyThumbLength, Float(58.0f)}, {Trackbar::PropertyThumbBreadth, Float(0.8f)}});
}
