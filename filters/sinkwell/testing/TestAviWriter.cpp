#include "TestAviWriter.h"

#include <cstdio>
#include <cstring>

namespace {

class ByteWriter
{
public:
    void Fourcc(DWORD value) { U32(value); }
    void U32(uint32_t value) { Raw(&value, 4); }
    void U16(uint16_t value) { Raw(&value, 2); }
    void Raw(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    // Starts a chunk; returns where its size goes.
    size_t BeginChunk(DWORD id)
    {
        Fourcc(id);
        U32(0);
        return m_bytes.size() - 4;
    }
    size_t BeginList(DWORD listType)
    {
        const size_t sizeAt = BeginChunk(TestFourcc('L', 'I', 'S', 'T'));
        Fourcc(listType);
        return sizeAt;
    }
    void EndChunk(size_t sizeAt)
    {
        const uint32_t size = static_cast<uint32_t>(m_bytes.size() - sizeAt - 4);
        std::memcpy(&m_bytes[sizeAt], &size, 4);
        if (size % 2 != 0)
            m_bytes.push_back(0);
    }
    size_t Position() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

struct IndexEntry
{
    uint32_t offset;
    uint32_t size;
};

void WriteHeaders(ByteWriter& out, const TestAviFormat& format, uint32_t framesPerSecond, uint32_t frameCount)
{
    const uint32_t frameSize = TestAviFrameSize(format);
    const size_t headerList = out.BeginList(TestFourcc('h', 'd', 'r', 'l'));
    const size_t mainHeader = out.BeginChunk(TestFourcc('a', 'v', 'i', 'h'));
    out.U32(1000000 / framesPerSecond); // microseconds per frame
    out.U32(frameSize * framesPerSecond);
    out.U32(0);
    out.U32(0x10); // AVIF_HASINDEX
    out.U32(frameCount);
    out.U32(0);
    out.U32(1); // streams
    out.U32(frameSize);
    out.U32(static_cast<uint32_t>(format.width));
    out.U32(static_cast<uint32_t>(format.height));
    for (int i = 0; i < 4; ++i)
        out.U32(0);
    out.EndChunk(mainHeader);

    const size_t streamList = out.BeginList(TestFourcc('s', 't', 'r', 'l'));
    const size_t streamHeader = out.BeginChunk(TestFourcc('s', 't', 'r', 'h'));
    out.Fourcc(TestFourcc('v', 'i', 'd', 's'));
    out.Fourcc(format.compression == BI_RGB ? TestFourcc('D', 'I', 'B', ' ') : format.compression);
    out.U32(0);          // flags
    out.U16(0);          // priority
    out.U16(0);          // language
    out.U32(0);          // initial frames
    out.U32(1);          // scale
    out.U32(framesPerSecond);
    out.U32(0);          // start
    out.U32(frameCount); // length
    out.U32(frameSize);  // suggested buffer size
    out.U32(0xFFFFFFFF); // quality
    out.U32(0);          // sample size: one frame a chunk
    out.U16(0);
    out.U16(0);
    out.U16(static_cast<uint16_t>(format.width));
    out.U16(static_cast<uint16_t>(format.height));
    out.EndChunk(streamHeader);

    const size_t streamFormat = out.BeginChunk(TestFourcc('s', 't', 'r', 'f'));
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = format.width;
    header.biHeight = format.height;
    header.biPlanes = 1;
    header.biBitCount = format.bitCount;
    header.biCompression = format.compression;
    header.biSizeImage = frameSize;
    out.Raw(&header, sizeof(header));
    out.EndChunk(streamFormat);
    out.EndChunk(streamList);
    out.EndChunk(headerList);
}

} // namespace

uint32_t TestAviFrameSize(const TestAviFormat& format)
{
    const uint32_t width = static_cast<uint32_t>(format.width);
    const uint32_t height = static_cast<uint32_t>(format.height);
    if (format.compression == BI_RGB)
        return ((width * format.bitCount / 8 + 3) & ~3u) * height;
    return width * height * format.bitCount / 8;
}

bool WriteTestAvi(const std::wstring& path, const TestAviFormat& format, uint32_t framesPerSecond,
                  const std::vector<std::vector<uint8_t>>& frames)
{
    // The headers divide by the rate.
    if (framesPerSecond == 0)
        return false;
    const uint32_t frameSize = TestAviFrameSize(format);
    ByteWriter out;
    out.Fourcc(TestFourcc('R', 'I', 'F', 'F'));
    out.U32(0);
    out.Fourcc(TestFourcc('A', 'V', 'I', ' '));
    WriteHeaders(out, format, framesPerSecond, static_cast<uint32_t>(frames.size()));

    // '00db' for uncompressed RGB, '00dc' for the other formats.
    const DWORD chunkId = TestFourcc('0', '0', 'd', format.compression == BI_RGB ? 'b' : 'c');
    const size_t movieList = out.BeginList(TestFourcc('m', 'o', 'v', 'i'));
    const size_t movieStart = movieList + 4; // offsets count from the 'movi' type
    std::vector<IndexEntry> index;
    for (const auto& frame : frames) {
        if (frame.size() != frameSize)
            return false;
        index.push_back({static_cast<uint32_t>(out.Position() - movieStart), frameSize});
        const size_t chunk = out.BeginChunk(chunkId);
        out.Raw(frame.data(), frame.size());
        out.EndChunk(chunk);
    }
    out.EndChunk(movieList);

    const size_t indexChunk = out.BeginChunk(TestFourcc('i', 'd', 'x', '1'));
    for (const IndexEntry& entry : index) {
        out.Fourcc(chunkId);
        out.U32(0x10); // AVIIF_KEYFRAME
        out.U32(entry.offset);
        out.U32(entry.size);
    }
    out.EndChunk(indexChunk);

    std::vector<uint8_t> bytes = out.Bytes();
    const uint32_t riffSize = static_cast<uint32_t>(bytes.size() - 8);
    std::memcpy(&bytes[4], &riffSize, 4);

    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
