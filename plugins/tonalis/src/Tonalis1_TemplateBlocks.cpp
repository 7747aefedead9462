// Template blocks cut from the bitmaps of the template folder, the mosaic step built from them,
// and the text-effect step.
#include "FunctWorkWithFiles.h"
#include "Tonalis1.h"
#include "Tonalis1_BitmapLoaders.h"
#include "Tonalis1_Steps.h"

#include <array>

namespace {

constexpr uint32_t kMostBlocks = 513;
constexpr int32_t kBlockSide = 8;
constexpr int32_t kBlockBytes = 16;
constexpr int32_t kDarkBlockMean = 17;
constexpr const char* kExtendedNames[] = {
    "ExtendedTemplateBlockBlack_1x8.bmp", "ExtendedTemplateBlockBlack_4x4.bmp", "ExtendedTemplateBlockBlack_6x6.bmp",
    "ExtendedTemplateBlockBlack_8x8.bmp", "ExtendedTemplateBlockColor_8x8.bmp"};

bool IsExtendedName(const DynamicString& name)
{
    for (const char* extended : kExtendedNames)
        if (name == extended)
            return true;
    return false;
}

DynamicString JoinPath(const DynamicString& folder, const DynamicString& name)
{
    DynamicString path(folder);
    const uint32_t length = folder.GetLenString();
    if (length > 0 && folder[length - 1] != '\\' && folder[length - 1] != '/')
        path += "\\";
    path += name;
    return path;
}

void LogSkipped(const char* reason, const DynamicString& path)
{
    DynamicString text("Tonalis1::LoadTemplateBlocks - ");
    text += reason;
    text += ": ";
    text += path;
    LOG_TEXT(text.GetString());
}

// The Y16 and UV16 planes of one loaded picture, given back after its blocks are cut.
struct LoadedPicture
{
    LoadedPicture() = default;
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;
    ~LoadedPicture()
    {
        SAFE_TASK_FREE(&luma);
        SAFE_TASK_FREE(&chroma);
    }
    SWORD* luma = nullptr;
    SWORD* chroma = nullptr;
    int width = 0, height = 0, stride = 0, capacity = 0;
};

HRESULT EmptySet(InfoTemplateBlockSetTonalis1& set)
{
    // Grown a block at a time while a folder loads: room for 64 more each time.
    HRESULT result = set.m_luma.Init(0, 64);
    if (SUCCEEDED(result))
        result = set.m_chroma.Init(0, 64);
    if (SUCCEEDED(result))
        result = set.m_sizes.Init(0, 64);
    return result;
}

// Rows 8 x 8 of a plane from the block's top-left word.
void CopyBlock(const SWORD* plane, int stride, int x, int y, InfoTemplateBlockTonalis1& block)
{
    for (int row = 0; row < kBlockSide; ++row) {
        const SWORD* source = plane + static_cast<int64_t>(y + row) * (stride / 2) + x;
        for (int column = 0; column < kBlockSide; ++column)
            block.m_words[row * kBlockSide + column] = source[column];
    }
    block.m_filled = true;
}

// Appends the picture's whole blocks, block rows first, while the set has room.
HRESULT CutBlocks(const LoadedPicture& picture, InfoTemplateBlockSetTonalis1& set)
{
    HRESULT result = S_OK;
    for (int j = 0; j < picture.height / kBlockSide; ++j)
        for (int k = 0; k < picture.width / kBlockSide && set.m_luma.GetCount() < kMostBlocks; ++k) {
            const uint32_t row = set.m_luma.GetCount();
            result = set.m_luma.SetSize(row + 1);
            if (SUCCEEDED(result))
                result = set.m_chroma.SetSize(row + 1);
            if (SUCCEEDED(result))
                result = set.m_sizes.SetSize(row + 1);
            if (FAILED(result))
                return result;
            CopyBlock(picture.luma, picture.stride, k * kBlockSide, j * kBlockSide, set.m_luma.GetElement(row));
            CopyBlock(picture.chroma, picture.stride, k * kBlockSide, j * kBlockSide, set.m_chroma.GetElement(row));
            set.m_sizes.GetElement(row) = kBlockBytes;
        }
    return result;
}

// An unsuitable file is logged and skipped: the folder's other files still load.
HRESULT LoadTemplateFile(const OptimFunctionTableSWORD& operations, const DynamicString& path,
                         InfoTemplateBlockSetTonalis1& set)
{
    LoadedPicture picture;
    if (FAILED(FunctLoadBMP32ToY16UV16Format(operations, path, &picture.luma, &picture.chroma, &picture.width,
                                             &picture.height, &picture.stride, 0, &picture.capacity))) {
        LogSkipped("the file does not load", path);
        return S_OK;
    }
    if (picture.width < kBlockSide || picture.height < kBlockSide) {
        LogSkipped("the picture is smaller than a block", path);
        return S_OK;
    }
    return CutBlocks(picture, set);
}

void EmptyBlock(InfoTemplateBlockTonalis1& block)
{
    block = InfoTemplateBlockTonalis1{};
}

// With the extended patterns present, the normal blocks are the tiles matched to them one for one;
// tiles too dark to show against a black pattern are left out.
HRESULT PairNormalWithExtended(InfoTemplateBlockSetTonalis1& normal, const InfoTemplateBlockSetTonalis1& extended)
{
    const uint32_t count = extended.m_luma.GetCount();
    const uint32_t before = normal.m_luma.GetCount();
    if (count != before) {
        HRESULT result = normal.m_luma.SetSize(count);
        if (SUCCEEDED(result))
            result = normal.m_chroma.SetSize(count);
        if (SUCCEEDED(result))
            result = normal.m_sizes.SetSize(count);
        if (FAILED(result))
            return result;
        for (uint32_t i = before; i < count; ++i) {
            EmptyBlock(normal.m_luma.GetElement(i));
            EmptyBlock(normal.m_chroma.GetElement(i));
            normal.m_sizes.GetElement(i) = 0;
        }
    }
    for (uint32_t i = 0; i < count; ++i) {
        InfoTemplateBlockTonalis1& luma = normal.m_luma.GetElement(i);
        if (!luma.m_filled)
            continue;
        int32_t sum = 0;
        for (const SWORD word : luma.m_words)
            sum += word;
        if (sum / static_cast<int32_t>(InfoTemplateBlockTonalis1::kWords) <= kDarkBlockMean) {
            EmptyBlock(luma);
            EmptyBlock(normal.m_chroma.GetElement(i));
            normal.m_sizes.GetElement(i) = 0;
        }
    }
    return S_OK;
}

// Pointers to the filled blocks of a table, null for an empty one.
using BlockPointers = std::array<const SWORD*, kMostBlocks>;
void PointToBlocks(const DynamicBoundsObject<InfoTemplateBlockTonalis1>& blocks, uint32_t count,
                   BlockPointers& pointers)
{
    for (uint32_t i = 0; i < count; ++i) {
        const InfoTemplateBlockTonalis1& block = blocks.GetElement(i);
        pointers[i] = block.m_filled ? block.m_words : nullptr;
    }
}

} // namespace

HRESULT Tonalis1::LoadTemplateBlocks(Tonalis1State* state)
{
    try {
        if (state == nullptr)
            return E_INVALIDARG;
        LOG_TEXT("Tonalis1::LoadTemplateBlocks::begin");
        state->m_extended_blocks_present = 0;
        HRESULT result = EmptySet(state->m_blocks_normal);
        if (SUCCEEDED(result))
            result = EmptySet(state->m_blocks_extended);
        if (FAILED(result) || state->m_template_folder.GetLenString() == 0)
            return result;

        DynamicBoundsObject<DynamicString> names;
        DynamicBoundsObject<uint32_t> attributes;
        const HRESULT listed =
            GetListFilesInFolder(state->m_template_folder, DynamicString("*.bmp"), names, 0, attributes);
        uint32_t loaded = 0;
        for (uint32_t i = 0; listed == S_OK && i < names.GetCount(); ++i) {
            if ((attributes.GetElement(i) & FILE_ATTRIBUTE_DIRECTORY) != 0)
                continue;
            const DynamicString& name = names.GetElement(i);
            const bool extended = IsExtendedName(name);
            if (extended)
                state->m_extended_blocks_present = 1;
            result = LoadTemplateFile(state->m_operations, JoinPath(state->m_template_folder, name),
                                      extended ? state->m_blocks_extended : state->m_blocks_normal);
            if (FAILED(result))
                return result;
            ++loaded;
        }
        if (loaded == 0) {
            LogSkipped("no bitmap in the folder", state->m_template_folder);
            return S_FALSE;
        }
        if (state->m_extended_blocks_present != 0)
            result = PairNormalWithExtended(state->m_blocks_normal, state->m_blocks_extended);
        LOG_TEXT("Tonalis1::LoadTemplateBlocks::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT HelperFunction_TemplateMosaic(Tonalis1State& state, InfoDataBufferPath1& /*frame*/,
                                      InfoDataBufferPath1& luma, InfoDataBufferPath1* chroma, const SWORD* /*mask*/)
{
    const InfoTemplateBlockSetTonalis1& normal = state.m_blocks_normal;
    const InfoTemplateBlockSetTonalis1& patterns =
        state.m_extended_blocks_present != 0 ? state.m_blocks_extended : state.m_blocks_normal;
    // A folder whose extended set is shorter than the normal one never has the patterns read past.
    uint32_t count = normal.m_luma.GetCount();
    count = patterns.m_luma.GetCount() < count ? patterns.m_luma.GetCount() : count;
    if (count == 0)
        return S_FALSE;
    BlockPointers patternLuma, patternChroma, tileLuma, tileChroma;
    PointToBlocks(patterns.m_luma, count, patternLuma);
    PointToBlocks(patterns.m_chroma, count, patternChroma);
    PointToBlocks(normal.m_luma, count, tileLuma);
    PointToBlocks(normal.m_chroma, count, tileChroma);
    return state.m_operations.matrixEffect(
        PlaneWords(luma), chroma != nullptr ? PlaneWords(*chroma) : nullptr, luma.m_stride, PlaneWidth(luma),
        PlaneHeight(luma), patternLuma.data(), patternChroma.data(), tileLuma.data(), tileChroma.data(),
        static_cast<int>(count), static_cast<SWORD>(state.m_params_int.GetElement(kParamMosaicValue1)),
        static_cast<SWORD>(state.m_params_int.GetElement(kParamMosaicValue2)));
}

HRESULT TextEffectsFunction(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/)
{
    return S_FALSE;
}
