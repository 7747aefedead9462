// Page "histogram": the source page's histogram of a generated frame (bell-shaped bins, the curve a
// gamma ramp) and, below it, a curve that cannot be edited.
#include "DemoPages.h"

#include "GistogramObjectUserInterface2.h"

#include <cmath>

namespace {

constexpr uint32_t HistogramId = 2030;
constexpr uint32_t CurveId = 2031;
constexpr uint32_t Bins = 256;

// Bins of a frame whose levels gather round the middle, as a share of the frame each.
FloatListUserInterface2 BellBins()
{
    FloatListUserInterface2 bins;
    bins.Init(Bins, 0);
    for (uint32_t i = 0; i < Bins; ++i) {
        const float distance = (static_cast<float>(i) - 110.0f) / 40.0f;
        bins.GetElement(i) = 0.06f * std::exp(-distance * distance);
    }
    return bins;
}

FloatListUserInterface2 GammaCurve(float gamma)
{
    FloatListUserInterface2 curve;
    curve.Init(Bins, 0);
    for (uint32_t i = 0; i < Bins; ++i)
        curve.GetElement(i) = std::pow(static_cast<float>(i) / (Bins - 1), gamma);
    return curve;
}

void FillHistogram(PageObjectUserInterface2& page, uint32_t id, float gamma, bool editable)
{
    BaseUserInterface* widget = nullptr;
    page.GetChildObjectUserInterfaceReal(id, &widget, ChildKindHistogram);
    auto* histogram = dynamic_cast<GistogramObjectUserInterface2*>(widget);
    if (histogram != nullptr) {
        FloatListUserInterface2 bins = BellBins(), curve = GammaCurve(gamma);
        histogram->UpdateDataReal(GistogramObjectUserInterface2::DataSet | GistogramObjectUserInterface2::DataArray0,
                                  &bins, 1);
        histogram->UpdateDataReal(GistogramObjectUserInterface2::DataSet | GistogramObjectUserInterface2::DataArray1,
                                  &curve, 1);
        InfoTypedValueUserInterface2 edit;
        edit.SetBool(editable);
        histogram->UpdateInternalValueReal(&edit, GistogramObjectUserInterface2::PropEditable);
    }
    if (widget != nullptr)
        page.FreeChildObjectUserInterfaceReal(widget, ChildKindHistogram);
}

} // namespace

void DescribeHistogramPage(InfoPageUserInterface2& description)
{
    description.SetSizeTable(2, 1);
    description.m_columns.GetElement(0).m_size = 1.0f;
    description.m_rows.GetElement(0).m_size = 220.0f;
    description.m_rows.GetElement(1).m_size = 1.0f;
    DescribeCell(description, 0, 0, ChildKindHistogram, HistogramId, "Histogram").m_extra_parameter = HistogramId;
    DescribeCell(description, 1, 0, ChildKindHistogram, CurveId, "Curve, read only").m_extra_parameter = CurveId;
}

void ConfigureHistogramPage(PageObjectUserInterface2& page)
{
    FillHistogram(page, HistogramId, 0.6f, true);
    FillHistogram(page, CurveId, 1.8f, false);
}
