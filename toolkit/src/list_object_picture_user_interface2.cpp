// The list widget's picture: the slots of its timer cycle draw the header cells, the scroll bar and
// the cells of the lines that changed into their own buffers and copy them into the body, the
// widget's final picture. Lines that only moved keep their pictures.
#include "ListObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "GdiScopes.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

using Action = InfoActionUserInterface2;

// Slots of the cycle and the drawing operation each runs.
enum PictureOperation : uintptr_t
{
    OperationHeader = 9,
    OperationScrollBar = 14,
    OperationLines = 15,
    OperationCellTexts = 16,
};
constexpr uint32_t HeaderSlot = 10;
constexpr uint32_t HeaderIntoBodySlot = 34;
constexpr uint32_t CellTextSlot = 40;
constexpr uint32_t TrackSlot = 43;
constexpr uint32_t ScrollPiecesSlot = 44;
constexpr uint32_t LineSlot = 45;

struct SlotSetting
{
    uint32_t m_slot;
    uint32_t m_flags;
    uint32_t m_repeat_count;
    PictureOperation m_operation;
    int32_t m_destination;
};
constexpr uint32_t NoOperation = Action::FlagsEmptyLayer;
constexpr uint32_t CopyIntoDestination = Action::FlagSource | Action::FlagDestination | 2;
constexpr SlotSetting g_slots[] = {
    {HeaderSlot, NoOperation, 144, OperationHeader, -1},
    {HeaderIntoBodySlot, CopyIntoDestination, 6, OperationHeader, ListObjectUserInterface2::BodyBuffer},
    {TrackSlot, NoOperation, 6, OperationScrollBar, -1},
    {ScrollPiecesSlot, NoOperation, 78, OperationScrollBar, -1},
    {CellTextSlot, NoOperation, 1, OperationCellTexts, -1},
    {LineSlot, NoOperation, 1, OperationLines, -1},
};

constexpr int32_t HeaderStepsPerColumn = 24;
// The composition's step that adds its second layer to the result when it has no third.
constexpr int32_t HeaderSumStep = 23;
constexpr uint32_t CellTextStepsPerLine = 30;
constexpr int32_t CellTextStepsPerColumn = 5;
constexpr uint32_t LineSteps = 600;
constexpr int32_t CellSteps = 100;
constexpr int32_t ScrollPieceSteps = 26;
constexpr int32_t TrackCopyStep = 5;

// Buffers of the header's layers (column c adds c), of the scroll bar and of the skins.
constexpr int32_t HeaderPanelLayer = 28;
constexpr int32_t HeaderAccentLayer = 34;
constexpr int32_t HeaderWorkingLayer = 46;
constexpr int32_t HeaderCell = 70;
constexpr int32_t FirstScrollPiece = 82;
constexpr int32_t LastScrollPiece = 95;
constexpr int32_t TrackBuffer = 95;
constexpr int32_t UpKeySkin = 77;
constexpr int32_t DownKeySkin = 78;
constexpr int32_t SliderSkin = 96;
constexpr int32_t FirstCellImage = 182;
constexpr int32_t UncheckedImage = FirstCellImage;
constexpr int32_t CheckedImage = FirstCellImage + 1;
constexpr uint32_t HeaderAccentBits = 0x30000;

// Entries of the colour and font table.
constexpr uint32_t ListBackgroundEntry = 0x06;
constexpr uint32_t HeaderBackgroundEntry = 0x21;
constexpr uint32_t HeaderForegroundEntry = 0x22;
constexpr uint32_t HeaderBorderEntry = 0x23;
constexpr uint32_t RowBackgroundEntry = 0x24;
constexpr uint32_t RowForegroundEntry = 0x25;
constexpr uint32_t RowBorderEntry = 0x26;
constexpr uint32_t ScrollBackgroundEntry = 0x27;
constexpr uint32_t ScrollForegroundEntry = 0x28;
constexpr uint32_t ScrollBorderEntry = 0x29;
constexpr uint32_t SelectedFontEntry = 0x81;
constexpr uint32_t EditFontEntry = 0x83;
constexpr uint32_t HeaderFontEntry = 0x87;
constexpr uint32_t RowFontEntry = 0x88;

constexpr int32_t ImageMargin = 2;
// Pressed scroll pieces are darkened and hovered ones lightened by these amounts.
constexpr float PressedShade = 60.0f;
constexpr float HoverLight = 30.0f;
constexpr uint32_t SubtractConstant = Action::FlagDestination | Action::FlagClamp | 16;
constexpr uint32_t AddConstant = Action::FlagDestination | Action::FlagClamp | 14;

// One GDI drawing of a piece: a filled area, an optional frame, an optional band along the bottom
// and an optional text.
struct ListPieceDrawing
{
    COLORREF m_fill = 0;
    int m_frame_width = 0;
    COLORREF m_frame = 0;
    int m_band_height = 0;
    COLORREF m_band = 0;
    const char* m_text = nullptr;
    COLORREF m_text_colour = 0;
    HGDIOBJ m_font = nullptr;
    UINT m_format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    int m_text_left = 0;
};
constexpr int ListPieceDrawingTag = 1842;

void FillRectangle(HDC context, const RECT& area, COLORREF colour)
{
    AutoGDIObject brush(CreateSolidBrush(colour));
    FillRect(context, &area, static_cast<HBRUSH>(brush.Get()));
}

HRESULT DrawListPiece(HDC context, int width, int height, void* record, int tag)
{
    if (context == nullptr || width < 1 || height < 1)
        return E_UNEXPECTED;
    if (record == nullptr || tag != ListPieceDrawingTag)
        return E_FAIL;
    const ListPieceDrawing& piece = *static_cast<const ListPieceDrawing*>(record);
    FillRectangle(context, {0, 0, width, height}, piece.m_fill);
    if (piece.m_band_height > 0)
        FillRectangle(context, {0, height - piece.m_band_height, width, height}, piece.m_band);
    for (int inset = 0; inset < piece.m_frame_width; ++inset) {
        AutoGDIObject pen(CreatePen(PS_SOLID, 1, piece.m_frame));
        ScopedSelection penSelection(context, pen.Get());
        ScopedSelection brushSelection(context, GetStockObject(NULL_BRUSH));
        Rectangle(context, inset, inset, width - inset, height - inset);
    }
    if (piece.m_text == nullptr || piece.m_text[0] == '\0')
        return S_OK;
    ScopedSelection fontSelection(context, piece.m_font != nullptr ? piece.m_font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, piece.m_text_colour);
    RECT area = {piece.m_text_left, 0, width, height};
    DrawTextA(context, piece.m_text, -1, &area, piece.m_format | DT_NOPREFIX);
    return S_OK;
}

InfoLayerLookUserInterface2 PieceLook(ListPieceDrawing& drawing)
{
    InfoLayerLookUserInterface2 look;
    look.m_draw = DrawListPiece;
    look.m_record = &drawing;
    look.m_record_size = ListPieceDrawingTag;
    return look;
}

COLORREF Blend(COLORREF first, COLORREF second)
{
    return RGB((GetRValue(first) + GetRValue(second)) / 2, (GetGValue(first) + GetGValue(second)) / 2,
               (GetBValue(first) + GetBValue(second)) / 2);
}

bool HasPicture(const InfoGeneralBufferForUserInterface2& buffer)
{
    return buffer.m_rgb_buffers.GetElement(0) != nullptr && buffer.m_width_element > 0 && buffer.m_height_element > 0;
}

void SwapPictures(InfoGeneralBufferForUserInterface2& first, InfoGeneralBufferForUserInterface2& second)
{
    std::swap(first.m_status_buffer, second.m_status_buffer);
    std::swap(first.m_rgb_buffers, second.m_rgb_buffers);
    std::swap(first.m_height_element, second.m_height_element);
    std::swap(first.m_width_element, second.m_width_element);
    std::swap(first.m_byte_stride, second.m_byte_stride);
    std::swap(first.m_max_size_byte_buffer, second.m_max_size_byte_buffer);
    std::swap(first.m_last_time_update_buffer, second.m_last_time_update_buffer);
}

// The images a cell shows, left to right: buffers of the cell images, -1 for none. A check-box
// cell shows its check image first.
std::pair<int32_t, int32_t> CellImages(const InfoCellListUserInterface2& cell)
{
    const auto image = [](int32_t index) { return index >= 0 ? FirstCellImage + index : -1; };
    if ((cell.m_cell_word & CellCheckBox) != 0)
        return {(cell.m_cell_word & CellChecked) != 0 ? CheckedImage : UncheckedImage,
                image(cell.m_images.GetElement(0))};
    return {image(cell.m_images.GetElement(0)), image(cell.m_images.GetElement(1))};
}

} // namespace

// ---- set-up and layout ----

HRESULT ListObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        if (m_element_count > 0)
            for (uint32_t field = 0; field < 6; ++field)
                m_elements.GetElement(0).Field(field).SetText("");
        for (const SlotSetting& setting : g_slots) {
            Action& action = m_actions.GetElement(setting.m_slot);
            action = Action();
            action.ResetRegions();
            action.m_flags = setting.m_flags;
            action.m_repeat_count = setting.m_repeat_count;
            action.m_callback = PictureAction;
            action.m_callback_context = setting.m_operation;
            action.m_destination_index = setting.m_destination;
        }
        m_finall_buffer_choice = BodyBuffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ListObjectUserInterface2::SetChangedAllBuffers()
{
    try {
        MakeFonts();
        m_header_rebuild = 1;
        m_redraw = 1;
        MarkAllLinesChanged();
        return BaseUserInterface::SetChangedAllBuffers();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ListObjectUserInterface2::MakeFonts()
{
    const auto make = [this](AutoGDIObject& font, uint32_t entry) {
        font.Attach(CreateFontIndirectA(&m_gdi_table.GetElement(entry).m_font));
    };
    make(m_row_font, RowFontEntry);
    make(m_selected_font, SelectedFontEntry);
    make(m_edit_font, EditFontEntry);
    make(m_header_font, HeaderFontEntry);
}

int32_t ListObjectUserInterface2::PicturedLines() const
{
    return std::min(static_cast<int32_t>(m_lines.GetCount()), PicturedLineLimit);
}

int32_t ListObjectUserInterface2::ColumnLeft(uint32_t column) const
{
    int32_t left = 0;
    for (uint32_t i = 0; i < column; ++i)
        if (m_header.GetElement(i).m_enabled != 0)
            left += m_column_pixels.GetElement(i);
    return left;
}

// Every piece gets the size it is drawn in; the body takes the widget's size.
void ListObjectUserInterface2::SizePictureBuffers()
{
    const auto size = [this](int32_t buffer, int32_t width, int32_t height) {
        Buffer(buffer).ResizeBuffer(width, height);
    };
    size(BodyBuffer, m_width, m_height);
    const int32_t header = HeaderHeight();
    const int32_t rowHeight = RowHeight();
    for (uint32_t c = 0; c < ColumnCountListUserInterface2; ++c) {
        if (m_header.GetElement(c).m_enabled == 0)
            continue;
        const int32_t width = m_column_pixels.GetElement(c);
        const auto column = static_cast<int32_t>(c);
        if (header > 0)
            for (int32_t layer : {HeaderPanelLayer, HeaderAccentLayer, HeaderWorkingLayer, HeaderCell})
                size(layer + column, width, header);
        for (int32_t line = 0; line < PicturedLines(); ++line)
            size(CellBuffer(line, c), width, rowHeight);
    }
    const int32_t barWidth = PropertyPixels(PropScrollBarWidth);
    const int32_t arrow = PropertyPixels(PropArrowLength);
    size(TrackBuffer, barWidth, std::max(m_height - header, 0));
    size(FirstScrollPiece, barWidth, arrow);
    size(FirstScrollPiece + 1, barWidth, arrow);
    size(FirstScrollPiece + 2, barWidth, PropertyPixels(PropSliderLength));
}

// The picture cycle runs its line steps once per line to redraw and its cell-text steps once per
// line whose cell pictures changed.
void ListObjectUserInterface2::SetPictureStepCounts()
{
    uint32_t redrawn = 0;
    for (uint32_t i = 0; i < m_lines.GetCount(); ++i)
        redrawn += m_lines.GetElement(i).m_redraw != 0 ? 1 : 0;
    const uint32_t pictures = m_changed_picture_count;
    m_actions.GetElement(LineSlot).m_repeat_count = std::max(LineSteps * redrawn, 1u);
    m_actions.GetElement(CellTextSlot).m_repeat_count = std::max(CellTextStepsPerLine * pictures, 1u);
}

// ---- moving lines ----

void ListObjectUserInterface2::CopyCellIntoBody(int32_t line, uint32_t column)
{
    const InfoGeneralBufferForUserInterface2& cell = Buffer(CellBuffer(line, column));
    InfoGeneralBufferForUserInterface2& body = Buffer(BodyBuffer);
    if (!HasPicture(cell) || !HasPicture(body))
        return;
    const int32_t x = ColumnLeft(column);
    const int32_t y = HeaderHeight() + line * RowHeight();
    const int32_t width = std::min({cell.m_width_element, m_width - ScrollBarWidth() - x, body.m_width_element - x});
    const int32_t height = std::min(cell.m_height_element, body.m_height_element - y);
    if (width < 1 || height < 1)
        return;
    for (uint32_t plane = 0; plane < 3; ++plane) {
        const auto* source = reinterpret_cast<const uint8_t*>(cell.m_rgb_buffers.GetElement(plane));
        auto* destination = reinterpret_cast<uint8_t*>(body.m_rgb_buffers.GetElement(plane));
        for (int32_t row = 0; row < height; ++row)
            std::memcpy(destination + static_cast<size_t>(y + row) * body.m_byte_stride + 2 * static_cast<size_t>(x),
                        source + static_cast<size_t>(row) * cell.m_byte_stride, 2 * static_cast<size_t>(width));
    }
    body.SetChanged();
}

// The cell pictures of the lines that stay on the page move with their rows (the buffers change
// places, no sample is copied) and are copied into their new places in the body. Lines still
// waiting to be drawn keep waiting at their rows' new lines.
void ListObjectUserInterface2::MoveLinePictures(int32_t distance)
{
    const int32_t lines = PicturedLines();
    if (distance == 0)
        return;
    // A page taller than the pictured lines keeps no picture that could move.
    if (std::abs(distance) >= lines) {
        MarkAllLinesChanged();
        return;
    }
    StaticBoundsObject<int32_t, PicturedLineLimit> waiting;
    uint32_t waitingCount = 0;
    for (uint32_t i = 0; i < m_changed_picture_count; ++i) {
        const int32_t moved = m_changed_picture_lines.GetElement(i) - distance;
        if (moved >= 0 && moved < lines)
            waiting.GetElement(waitingCount++) = moved;
    }
    for (uint32_t i = 0; i < m_lines.GetCount(); ++i)
        m_lines.GetElement(i).m_redraw = 0;
    m_changed_picture_count = 0;

    const int32_t kept = lines - std::abs(distance);
    for (uint32_t c = 0; c < ColumnCountListUserInterface2; ++c) {
        const auto swapLines = [&](int32_t line) {
            SwapPictures(Buffer(CellBuffer(line, c)),
                         Buffer(CellBuffer(line + distance, c)));
        };
        if (distance > 0)
            for (int32_t line = 0; line < kept; ++line)
                swapLines(line);
        else
            for (int32_t line = lines - 1; line >= -distance; --line)
                swapLines(line);
    }
    const int32_t firstKept = distance > 0 ? 0 : -distance;
    for (int32_t line = firstKept; line < firstKept + kept; ++line)
        for (uint32_t c = 0; c < ColumnCountListUserInterface2; ++c)
            if (m_header.GetElement(c).m_enabled != 0)
                CopyCellIntoBody(line, c);
    for (uint32_t i = 0; i < waitingCount; ++i)
        MarkLineChanged(waiting.GetElement(i));
    // The hover mark belongs to the line under the mouse, not to the row that moved away.
    if (m_hovered_line >= 0) {
        MarkLineChanged(m_hovered_line);
        MarkLineChanged(m_hovered_line - distance);
    }
}

// ---- the cycle's steps ----

HRESULT ListObjectUserInterface2::PictureAction(BaseUserInterface* widget, uintptr_t operation, int32_t slot,
                                                int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (FAILED(CheckParamActionFunction(widget, operation, slot, run, timeLow, timeHigh)))
            return E_FAIL;
        auto* list = static_cast<ListObjectUserInterface2*>(widget);
        switch (operation) {
        case OperationHeader:
            return slot == static_cast<int32_t>(HeaderSlot) ? list->HeaderStep(run) : list->HeaderIntoBodyStep(run);
        case OperationScrollBar:
            return list->ScrollBarStep(static_cast<uint32_t>(slot), run);
        case OperationCellTexts:
            return list->CellTextStep(run);
        case OperationLines:
            return list->LineStep(run);
        default:
            return E_FAIL;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ListObjectUserInterface2::SetCopyStep(uint32_t slot, int32_t source, int32_t destination, int32_t x, int32_t y,
                                              int32_t rightEdge)
{
    const InfoGeneralBufferForUserInterface2& from = Buffer(source);
    const InfoGeneralBufferForUserInterface2& to = Buffer(destination);
    if (!HasPicture(from) || !HasPicture(to) || x < 0 || y < 0)
        return S_FALSE;
    const int32_t width = std::min({from.m_width_element, rightEdge - x, to.m_width_element - x});
    const int32_t height = std::min(from.m_height_element, to.m_height_element - y);
    if (width < 1 || height < 1)
        return S_FALSE;
    Action& action = m_actions.GetElement(slot);
    action.ResetRegions();
    action.m_flags = CopyIntoDestination;
    action.m_source_index = source;
    action.m_destination_index = destination;
    action.m_source_offset = 0;
    action.m_destination_offset = y * to.m_byte_stride + 2 * x;
    action.m_width = width;
    action.m_height = height;
    return S_OK;
}

// Each enabled column: its panel with the title, and for a column whose id asks for it an accent
// band added through the three-layer composition, into the header cell. The band is summed onto
// the panel without the composition's product steps: their 16-bit products wrap for weights above
// 128 and a weight of 128 only halves, so no weight keeps the panel whole.
HRESULT ListObjectUserInterface2::HeaderStep(int32_t run)
{
    const auto column = static_cast<uint32_t>(run / HeaderStepsPerColumn);
    const int32_t number = run % HeaderStepsPerColumn;
    if (m_header_rebuild == 0 || !PropertyBool(PropHeaderShown) || column >= ColumnCountListUserInterface2)
        return S_FALSE;
    const InfoHeaderColumnUserInterface2& header = m_header.GetElement(column);
    if (header.m_enabled == 0)
        return S_FALSE;
    const auto c = static_cast<int32_t>(column);
    const bool accent = (static_cast<uint32_t>(header.m_id) & HeaderAccentBits) != 0;
    // Drawn layers take only their drawing step; the sum step only with an accent.
    const bool drawingStep = number == 0 || (accent && number == 5);
    if (!(drawingStep || number == 15 || (accent && number == HeaderSumStep)))
        return S_FALSE;
    if (number == 0)
        for (int32_t layer : {HeaderPanelLayer, HeaderAccentLayer, HeaderWorkingLayer})
            Buffer(layer + c).SetChanged();

    ListPieceDrawing panel;
    panel.m_fill = m_gdi_table.GetElement(HeaderBackgroundEntry).m_color;
    panel.m_frame_width = 1;
    panel.m_frame = m_gdi_table.GetElement(HeaderBorderEntry).m_color;
    panel.m_text = header.m_title.GetString();
    panel.m_text_colour = m_gdi_table.GetElement(HeaderFontEntry).m_color;
    panel.m_font = m_header_font.Get();
    ListPieceDrawing band;
    band.m_band_height = 3;
    band.m_band = m_gdi_table.GetElement(HeaderForegroundEntry).m_color;

    InfoLayerUserInterface2 layers[3];
    const auto setLayer = [](InfoLayerUserInterface2& layer, int32_t buffer, ListPieceDrawing& drawing) {
        layer.m_drawn_buffer = buffer;
        layer.m_look = PieceLook(drawing);
    };
    setLayer(layers[0], HeaderPanelLayer + c, panel);
    if (accent)
        setLayer(layers[1], HeaderAccentLayer + c, band);
    return FillActionForThreeLayers(HeaderSlot, static_cast<uint32_t>(number), HeaderCell + c, layers,
                                    HeaderWorkingLayer + c);
}

HRESULT ListObjectUserInterface2::HeaderIntoBodyStep(int32_t run)
{
    const auto column = static_cast<uint32_t>(run);
    if (m_header_rebuild == 0 || column >= ColumnCountListUserInterface2)
        return S_FALSE;
    if (column == ColumnCountListUserInterface2 - 1)
        m_header_rebuild = 0;
    if (!PropertyBool(PropHeaderShown) || m_header.GetElement(column).m_enabled == 0)
        return S_FALSE;
    return SetCopyStep(HeaderIntoBodySlot, HeaderCell + run, BodyBuffer, ColumnLeft(column), 0, m_width);
}

// The track, then the up key, the down key and the slider, each made from its skin, shaded when
// pressed or hovered, and copied into the body.
HRESULT ListObjectUserInterface2::ScrollBarStep(uint32_t slot, int32_t run)
{
    if (!IsScrollBarActive() || m_redraw == 0)
        return S_FALSE;
    const int32_t x = m_width - PropertyPixels(PropScrollBarWidth);
    const int32_t top = HeaderHeight();
    if (slot == TrackSlot) {
        if (run == 0) {
            for (int32_t piece = FirstScrollPiece; piece <= LastScrollPiece; ++piece)
                Buffer(piece).SetChanged();
            ListPieceDrawing track;
            track.m_fill = m_gdi_table.GetElement(ScrollBackgroundEntry).m_color;
            track.m_frame_width = 1;
            track.m_frame = m_gdi_table.GetElement(ScrollBorderEntry).m_color;
            DrawLayer(TrackBuffer, PieceLook(track));
            return S_FALSE;
        }
        return run == TrackCopyStep ? SetCopyStep(TrackSlot, TrackBuffer, BodyBuffer, x, top, m_width) : S_FALSE;
    }
    const int32_t piece = run / ScrollPieceSteps;
    const int32_t step = run % ScrollPieceSteps;
    if (piece > 2)
        return E_FAIL;
    static constexpr int32_t skins[] = {UpKeySkin, DownKeySkin, SliderSkin};
    static constexpr int32_t parts[] = {PartUpArrow, PartDownArrow, PartSlider};
    const int32_t buffer = FirstScrollPiece + piece;
    InfoGeneralBufferForUserInterface2& picture = Buffer(buffer);
    if (step == 0) {
        const InfoGeneralBufferForUserInterface2& skin = Buffer(skins[piece]);
        // Without a skin the piece is a black block.
        if (!HasPicture(skin) || FAILED(CopyGeneralBuffer(&picture, &skin)))
            picture.FillBuffers(7, 0);
        picture.SetChanged();
        return S_FALSE;
    }
    if (step == 1) {
        const bool pressed = m_pressed_part == parts[piece];
        if (!pressed && m_scroll_part != parts[piece])
            return S_FALSE;
        Action& action = m_actions.GetElement(ScrollPiecesSlot);
        action.ResetRegions();
        action.m_flags = pressed ? SubtractConstant : AddConstant;
        action.m_destination_index = buffer;
        for (uint32_t channel = 0; channel < Action::Channels; ++channel)
            FillActionParams(action.m_params_a, channel, pressed ? PressedShade : HoverLight);
        return S_OK;
    }
    if (step != ScrollPieceSteps - 1)
        return S_FALSE;
    const int32_t arrow = PropertyPixels(PropArrowLength);
    const int32_t y = piece == 0 ? top : piece == 1 ? m_height - arrow : top + SliderTop();
    return SetCopyStep(ScrollPiecesSlot, buffer, BodyBuffer, x, y, m_width);
}

HRESULT ListObjectUserInterface2::CellTextStep(int32_t run)
{
    const auto entry = static_cast<uint32_t>(run / CellTextStepsPerLine);
    const auto column = static_cast<uint32_t>((run % CellTextStepsPerLine) / CellTextStepsPerColumn);
    if (entry >= m_changed_picture_count || run % CellTextStepsPerColumn != 0 ||
        m_header.GetElement(column).m_enabled == 0)
        return S_FALSE;
    const int32_t line = m_changed_picture_lines.GetElement(entry);
    if (line >= PicturedLines())
        return S_FALSE;
    DrawCell(line, column);
    return S_FALSE;
}

// The cell's background in its row's state, its marks and its text, drawn in one GDI drawing.
HRESULT ListObjectUserInterface2::DrawCell(int32_t line, uint32_t column)
{
    const int32_t buffer = CellBuffer(line, column);
    Buffer(buffer).SetChanged();
    const int32_t row = m_first_visible + line;
    ListPieceDrawing cell;
    cell.m_fill = m_gdi_table.GetElement(ListBackgroundEntry).m_color;
    if (row >= RowCount())
        return DrawLayer(buffer, PieceLook(cell));
    const InfoCellListUserInterface2& content =
        m_rows.GetElement(static_cast<uint32_t>(row)).m_cells.GetElement(column);
    const bool selected = row == m_selected;
    const bool edited = (content.m_cell_word & CellEdited) != 0;
    const COLORREF rowColour = m_gdi_table.GetElement(RowBackgroundEntry).m_color;
    const COLORREF selectedColour = m_gdi_table.GetElement(RowForegroundEntry).m_color;
    cell.m_fill = selected ? selectedColour : line == m_hovered_line ? Blend(rowColour, selectedColour) : rowColour;
    cell.m_frame = m_gdi_table.GetElement(RowBorderEntry).m_color;
    cell.m_frame_width = edited ? 2 : (selected && static_cast<int32_t>(column) == m_focused_column) ? 1 : 0;
    const uint32_t fontEntry = edited ? EditFontEntry : selected ? SelectedFontEntry : RowFontEntry;
    cell.m_text_colour = m_gdi_table.GetElement(fontEntry).m_color;
    if ((content.m_cell_word & CellDisabled) != 0)
        cell.m_text_colour = Blend(cell.m_text_colour, cell.m_fill);
    cell.m_font = (edited ? m_edit_font : selected ? m_selected_font : m_row_font).Get();
    cell.m_text = content.m_text.GetString();
    cell.m_format = m_header.GetElement(column).m_text_format;
    // The text starts behind the cell's images.
    cell.m_text_left = PropertyPixels(PropTextOffset);
    const auto [first, second] = CellImages(content);
    for (int32_t image : {first, second})
        if (image >= 0)
            cell.m_text_left += Buffer(image).m_width_element + ImageMargin;
    return DrawLayer(buffer, PieceLook(cell));
}

HRESULT ListObjectUserInterface2::SetImageCopyStep(int32_t line, uint32_t column, int32_t imageSlot)
{
    const int32_t row = m_first_visible + line;
    if (row >= RowCount())
        return S_FALSE;
    const auto [first, second] = CellImages(m_rows.GetElement(static_cast<uint32_t>(row)).m_cells.GetElement(column));
    const int32_t image = imageSlot == 0 ? first : second;
    if (image < 0)
        return S_FALSE;
    int32_t x = ImageMargin;
    if (imageSlot == 1 && first >= 0)
        x += Buffer(first).m_width_element + ImageMargin;
    const int32_t cell = CellBuffer(line, column);
    const int32_t y = std::max((RowHeight() - Buffer(image).m_height_element) / 2, 0);
    return SetCopyStep(LineSlot, image, cell, x, y, Buffer(cell).m_width_element);
}

// A line takes 600 steps, 100 a column: its images are copied into each cell, then the cell into
// the body.
HRESULT ListObjectUserInterface2::LineStep(int32_t)
{
    if (m_actions.GetElement(LineSlot).m_repeat_count < 2)
        return S_FALSE;
    const int32_t lines = PicturedLines();
    if (m_line_cursor < 0 || m_line_counter >= static_cast<int32_t>(LineSteps)) {
        int32_t next = std::max(m_line_cursor + 1, 0);
        while (next < lines && m_lines.GetElement(static_cast<uint32_t>(next)).m_redraw == 0)
            ++next;
        m_line_cursor = next;
        m_line_counter = 0;
        if (next < lines)
            ++m_built_lines;
    }
    if (m_line_cursor >= lines)
        return S_FALSE;
    const auto column = static_cast<uint32_t>(m_line_counter / CellSteps);
    const int32_t step = m_line_counter % CellSteps;
    ++m_line_counter;
    if (column >= ColumnCountListUserInterface2 || m_header.GetElement(column).m_enabled == 0)
        return S_FALSE;
    if (step == 1 || step == 2)
        return SetImageCopyStep(m_line_cursor, column, step - 1);
    if (step != CellSteps - 1)
        return S_FALSE;
    return SetCopyStep(LineSlot, CellBuffer(m_line_cursor, column), BodyBuffer, ColumnLeft(column),
                       HeaderHeight() + m_line_cursor * RowHeight(), m_width - ScrollBarWidth());
}
