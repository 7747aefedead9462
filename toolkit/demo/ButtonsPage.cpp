// Page "buttons": the gradient-transform buttons of the source page, the background-effect buttons
// over moving glass, and captioned buttons that glow (plain, toggle, passive, disabled).
#include "DemoPages.h"

#include "SetButtonsObjectUserInterface2.h"

namespace {

using Buttons = SetButtonsObjectUserInterface2;

constexpr uint32_t GradientId = 2052;
constexpr uint32_t BackgroundId = 2096;
constexpr uint32_t CaptionsId = 2124;

struct Button
{
    const char* m_picture;
    int32_t m_command;
    uint32_t m_state;
    const char* m_caption;
};

const Button GradientButtons[] = {
    {"ExtPropertyEffects_EnableEffect.bmp", 2090, 0x601 | Buttons::StateChecked, ""},
    {"ExtPropertyEffects_BlureHistogram.bmp", 2091, 0x601, ""},
    {"ExtPropertyEffects_ShiftHistogram.bmp", 2092, 0x601 | Buttons::StateDisabled, ""},
    {"ExtPropertyEffects_ResetManualGroundEffect.bmp", 2097, 0x600, ""},
};

const Button BackgroundButtons[] = {
    {"ExtPropertyEffects_EnableEffect.bmp", 2104, 0x601, ""},
    {"ExtPropertyEffects_BackgroundEffect_SourceAndSize.bmp", 2116, 0x605 | Buttons::StateChecked, ""},
    {"ExtPropertyEffects_BackgroundEffect_Operation.bmp", 2117, 0x605, ""},
    {"ExtPropertyEffects_BackgroundEffect_OperationExtended.bmp", 2118, 0x605 | Buttons::StateDisabled, ""},
};

const Button CaptionButtons[] = {
    {"ExtPropertyEffects_Zero.bmp", 2126, 0, "Plain"},
    {"ExtPropertyEffects_Zero.bmp", 2127, 0x1, "Toggle"},
    {"ExtPropertyEffects_Zero.bmp", 0, Buttons::StatePassive, "Passive"},
    {"ExtPropertyEffects_Zero.bmp", 2129, Buttons::StateDisabled, "Disabled"},
};

template <size_t N>
void DescribeButtons(InfoChildPageUserInterface2& cell, const Button (&buttons)[N], uint32_t style)
{
    DescribeElements(cell, style, buttons, 12, [](InfoElementUserInterface2& element, const Button& button) {
        element.Field(Buttons::FieldFace).SetText(button.m_picture);
        element.Field(Buttons::FieldSecond).SetText("ExtPropertyEffects_GlassLayer.bmp");
        element.Field(Buttons::FieldSize).SetFloat(1.0f);
        element.Field(Buttons::FieldCaption).SetText(button.m_caption);
        element.Field(Buttons::FieldThird).SetText("ExtPropertyEffects_StencilLayer.bmp");
    });
}

} // namespace

void DescribeButtonsPage(InfoPageUserInterface2& description)
{
    description.SetSizeTable(4, 2);
    description.m_columns.GetElement(0).m_size = 560.0f;
    description.m_columns.GetElement(1).m_size = 1.0f;
    for (uint32_t row = 0; row < 3; ++row)
        description.m_rows.GetElement(row).m_size = 78.0f;
    description.m_rows.GetElement(3).m_size = 1.0f;
    DescribeButtons(DescribeCell(description, 0, 0, ChildKindSetButtons, GradientId, "Gradient transform"),
                    GradientButtons, Buttons::OrientationSideBySide);
    DescribeButtons(DescribeCell(description, 1, 0, ChildKindSetButtons, BackgroundId, "Background effect, glass"),
                    BackgroundButtons, Buttons::OrientationSideBySide | Buttons::StyleGlass);
    DescribeButtons(DescribeCell(description, 2, 0, ChildKindSetButtons, CaptionsId, "Captions and glow"),
                    CaptionButtons, Buttons::OrientationSideBySide);
}

void ConfigureButtonsPage(PageObjectUserInterface2& page)
{
    const std::vector<const char*> skins = {
        "ExtPropertyEffects_Background.bmp",          "ExtPropertyEffects_CursorForeground.bmp",
        "ExtPropertyEffects_PressedState.bmp",        "ExtPropertyEffects_DisabledState.bmp",
        "ExtPropertyEffects_StencilCursorForeground.bmp", "ExtPropertyEffects_StencilPressedForeground.bmp",
        "ExtPropertyEffects_StencilDisabledForeground2.bmp"};
    for (uint32_t id : {GradientId, BackgroundId, CaptionsId})
        SendProperties(page, id, ChildKindSetButtons, skins);
}
