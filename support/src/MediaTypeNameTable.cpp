#include "FunctConvertToText.h"

#include "CatchAllLog.h"
#include "MediaSubtypeGuids.h"

#include <cstring>

using namespace media_guids;

namespace {

struct MediaTypeNameTable
{
    GUID m_guid;
    const char* m_text; // Windows-1251
};

// Row 0 is the not-found row, the last row stands for GUID_NULL.
const MediaTypeNameTable g_majorTypeNames[17] = {
    {GUID{}, "\xD2\xC8\xCF \xCD\xC5 \xCD\xC0\xC9\xC4\xC5\xCD"}, // ТИП НЕ НАЙДЕН
    {MEDIATYPE_AnalogAudio, "\xC0\xED\xE0\xEB\xEE\xE3\xEE\xE2\xFB\xE9 \xE7\xE2\xF3\xEA"}, // Аналоговый звук
    {MEDIATYPE_AnalogVideo, "\xC0\xED\xE0\xEB\xEE\xE3\xEE\xE2\xEE\xE5 \xE8\xE7\xEE\xE1\xF0\xE0\xE6\xE5\xED\xE8\xE5"}, // Аналоговое изображение
    {MEDIATYPE_Audio, "\xC7\xE2\xF3\xEA"}, // Звук
    {MEDIATYPE_AUXLine21Data, "Line 21 data. Used by closed captions."},
    {MEDIATYPE_File, "File. Used by closed captions."},
    {MEDIATYPE_Interleaved, "Interleaved. Used by Digital Video (DV)."},
    {MEDIATYPE_LMRT, "\xD3\xF1\xF2\xE0\xF0\xE5\xE2\xF8\xE8\xE9 \xF4\xEE\xF0\xEC\xE0\xF2"}, // Устаревший формат
    {MEDIATYPE_Midi, "MIDI \xF4\xEE\xF0\xEC\xE0\xF2"}, // MIDI формат
    {MEDIATYPE_MPEG2_PES, "MPEG-2"},
    {MEDIATYPE_ScriptCommand, "Data is a script command, used by closed captions."},
    {MEDIATYPE_Stream, "\xC1\xE0\xE9\xF2\xEE\xE2\xFB\xE9 \xEF\xEE\xF2\xEE\xEA"}, // Байтовый поток
    {MEDIATYPE_Text, "\xD2\xE5\xEA\xF1\xF2"}, // Текст
    {MEDIATYPE_Timecode, "Timecode data. "},
    {MEDIATYPE_URL_STREAM, "\xD3\xF1\xF2\xE0\xF0\xE5\xE2\xF8\xE8\xE9 \xF4\xEE\xF0\xEC\xE0\xF2"}, // Устаревший формат
    {MEDIATYPE_Video, "\xC2\xE8\xE4\xE5\xEE."}, // Видео.
    {GUID{}, "\xCD\xE5\xEE\xEF\xF0\xE5\xE4\xE5\xEB\xE5\xED\xED\xFB\xE9 \xF2\xE8\xEF"}, // Неопределенный тип
};

// Rows 58 and 59 repeat the GUIDs of rows 2 and 3: a search by GUID finds the audio rows.
const MediaTypeNameTable g_subtypeNames[78] = {
    {GUID{}, "\xCF\xCE\xC4\xD2\xC8\xCF \xCD\xC5 \xCD\xC0\xC9\xC4\xC5\xCD"}, // ПОДТИП НЕ НАЙДЕН
    {MEDIASUBTYPE_PCMAudio_Obsolete, "Obsolete. Do not use"},
    {MEDIASUBTYPE_MPEG1Packet, "MPEG1 Audio packet"},
    {MEDIASUBTYPE_MPEG1Payload, "MPEG1 Audio Payload"},
    {MEDIASUBTYPE_Line21_BytePair, "Line 21 data as byte pairs"},
    {MEDIASUBTYPE_Line21_GOPPacket, "Line 21 data in DVD GOP Packet"},
    {MEDIASUBTYPE_Line21_VBIRawData, "Line 21 data in raw VBI format"},
    {MEDIASUBTYPE_DVD_SUBPICTURE, "Subpicture data"},
    {MEDIASUBTYPE_DOLBY_AC3, "Dolby data"},
    {MEDIASUBTYPE_MPEG2_AUDIO, "MPEG-2 audio data"},
    {MEDIASUBTYPE_DVD_LPCM_AUDIO, "DVD audio data"},
    {MEDIASUBTYPE_MPEG2_TRANSPORT, "MPEG-2 transport stream"},
    {MEDIASUBTYPE_MPEG2_PROGRAM, "MPEG-2 program stream"},
    {MEDIASUBTYPE_AIFF, "Data from AIFF file"},
    {MEDIASUBTYPE_Asf, "Advanced Streaming Format (ASF)"},
    {MEDIASUBTYPE_Avi, "Data from AVI file"},
    {MEDIASUBTYPE_AU, "Data from AU file"},
    {MEDIASUBTYPE_DssAudio, "Dss Audio"},
    {MEDIASUBTYPE_DssVideo, "Dss Video"},
    {MEDIASUBTYPE_MPEG1Audio, "MPEG audio"},
    {MEDIASUBTYPE_MPEG1System, "MPEG system"},
    {MEDIASUBTYPE_MPEG1Video, "MPEG video"},
    {MEDIASUBTYPE_MPEG1VideoCD, "MPEG video CD"},
    {MEDIASUBTYPE_WAVE, "Data from WAV file"},
    {MediaSubtypeY8, "Y8 format data"},
    {MEDIASUBTYPE_YVU9, "Standard YVU9 format uncompressed data. A planar YUV format."},
    {MEDIASUBTYPE_Y411, "YUV 411 format data. Same as Y41P."},
    {MEDIASUBTYPE_Y41P, "Y41P format data."},
    {MEDIASUBTYPE_YUY2, "YUY2 format data."},
    {MEDIASUBTYPE_YVYU, "YVYU format data."},
    {MEDIASUBTYPE_UYVY, "UYVY format data."},
    {MEDIASUBTYPE_Y211, "YUV 211 format data."},
    {MEDIASUBTYPE_CLJR, "Cirrus Logic Jr YUV 411 format with less than 8 bits per Y, U, and V sample."},
    {MEDIASUBTYPE_IF09, "Indeo produced YVU9 format with additional information"},
    {MEDIASUBTYPE_CPLA, "Cinepak UYVY format."},
    {MEDIASUBTYPE_MJPG, "Motion JPEG (MJPG) compressed video."},
    {MEDIASUBTYPE_TVMJ, "TrueVision MJPG format."},
    {MEDIASUBTYPE_WAKE, "MJPG format produced by some cards."},
    {MEDIASUBTYPE_CFCC, "MJPG format produced by some cards."},
    {MEDIASUBTYPE_IJPG, "Intergraph JPEG format."},
    {MEDIASUBTYPE_Plum, "Plum MJPG format."},
    {MEDIASUBTYPE_RGB1, "RGB, 1 bit per pixel. Palettized."},
    {MEDIASUBTYPE_RGB4, "RGB, 4 bits per pixel. Palettized."},
    {MEDIASUBTYPE_RGB8, "RGB, 8 bits per pixel. Palettized."},
    {MEDIASUBTYPE_RGB565, "565 format of RGB, 16 bits per pixel."},
    {MEDIASUBTYPE_RGB555, "555 format of RGB, 16 bits per pixel."},
    {MEDIASUBTYPE_RGB24, "RGB, 24 bits per pixel."},
    {MEDIASUBTYPE_RGB32, "RGB, 32 bits per pixel."},
    {MEDIASUBTYPE_ARGB32, "ARGB, 32 bits per pixel."},
    {MEDIASUBTYPE_Overlay, "Video delivered using hardware overlay."},
    {MEDIASUBTYPE_QTMovie, "Apple\xAE QuickTime\xAE compression."}, // Apple® QuickTime® compression.
    {MEDIASUBTYPE_QTRpza, "QuickTime RPZA compressed data."},
    {MEDIASUBTYPE_QTSmc, "QuickTime SMC compressed data."},
    {MEDIASUBTYPE_QTRle, "QuickTime RLE compressed data."},
    {MEDIASUBTYPE_QTJpeg, "QuickTime JPEG compressed data."},
    {MEDIASUBTYPE_dvsd, "Standard DV format."},
    {MEDIASUBTYPE_dvhd, "High Definition DV format."},
    {MEDIASUBTYPE_dvsl, "Long Play DV format."},
    {MEDIASUBTYPE_MPEG1Packet, "MPEG1 Video Packet."},
    {MEDIASUBTYPE_MPEG1Payload, "MPEG1 Video Payload."},
    {MEDIASUBTYPE_VPVideo, "Video port video data."},
    {MEDIASUBTYPE_VPVBI, "Video port vertical blanking interval (VBI) data."},
    {MEDIASUBTYPE_AnalogVideo_NTSC_M, "(M) NSTC"},
    {MEDIASUBTYPE_AnalogVideo_PAL_B, "(B) PAL"},
    {MEDIASUBTYPE_AnalogVideo_PAL_D, "(D) PAL"},
    {MEDIASUBTYPE_AnalogVideo_PAL_G, "(G) PAL"},
    {MEDIASUBTYPE_AnalogVideo_PAL_H, "(H) PAL"},
    {MEDIASUBTYPE_AnalogVideo_PAL_I, "(I) PAL"},
    {MEDIASUBTYPE_AnalogVideo_PAL_M, "(M) PAL"},
    {MEDIASUBTYPE_AnalogVideo_PAL_N, "(N) PAL"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_B, "(B) SECAM"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_D, "(D) SECAM"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_G, "(G) SECAM"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_H, "(H) SECAM"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_K, "(K) SECAM"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_K1, "(K1) SECAM"},
    {MEDIASUBTYPE_AnalogVideo_SECAM_L, "(L) SECAM"},
    {GUID{}, "\xCD\xE5\xEE\xEF\xF0\xE5\xE4\xE5\xEB\xE5\xED\xED\xFB\xE9 \xF2\xE8\xEF"}, // Неопределенный тип
};

// First row from 'first' on whose GUID matches, or -1.
template <size_t N>
int FindRow(const MediaTypeNameTable (&table)[N], int first, const GUID& guid)
{
    for (int row = first; row < static_cast<int>(N); ++row)
        if (IsEqualGUID(table[row].m_guid, guid))
            return row;
    return -1;
}

template <size_t N>
const char* TextOrNotFound(const MediaTypeNameTable (&table)[N], const GUID& guid)
{
    const int row = FindRow(table, 1, guid);
    return table[row < 0 ? 0 : row].m_text;
}

} // namespace

HRESULT ConvertMediaTypeToText(DynamicString& text, const GUID& majorType, const GUID& subtype)
{
    try {
        text = TextOrNotFound(g_majorTypeNames, majorType);
        text += "<->";
        text += TextOrNotFound(g_subtypeNames, subtype);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertMediaSubtypeToText(const GUID& subtype, DynamicString& text)
{
    try {
        text.NullString();
        const int row = FindRow(g_subtypeNames, 0, subtype);
        if (row < 0)
            return S_FALSE;
        text = g_subtypeNames[row].m_text;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertTextToMediaSubtype(const char* text, GUID* subtype)
{
    try {
        if (subtype == nullptr)
            return E_FAIL;
        if (text == nullptr)
            return S_FALSE;
        for (const MediaTypeNameTable& row : g_subtypeNames) {
            if (std::strcmp(row.m_text, text) == 0) {
                *subtype = row.m_guid;
                return S_OK;
            }
        }
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
