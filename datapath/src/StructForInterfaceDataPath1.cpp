// The table of the plug-in interfaces and the check of every interface call against it.
#include "StructForInterfaceDataPath1Table.h"

#include "CatchAllLog.h"

#include <string>
#include <vector>

StructForInterfaceDataPath1 g_struct_for_interface_data_path1;

namespace {

// Each interface's operations in order, written as the parameter lists of its methods:
// "&" marks a parameter passed by pointer; a bracketed number is the size the operation expects
// there, which the table does not keep.
struct InterfaceDescription
{
    const char* name;
    GUID iid;
    const char* methods;
};

const InterfaceDescription kInterfaces[] = {
    {"IID_ISourceFilterDataPath1", IID_ISourceFilterDataPath1,
     "(); (&text, &text); (int, &buffer); (int, int); (int, &buffer)"},
    {"IID_IControlNetworkSend1", IID_IControlNetworkSend1,
     "(int); (); (int, int); (int, int); (int, int); (int, time, int); (bool); (int); (int, bool); (int, int); ()"},
    {"IID_IVideoOutputRender1", IID_IVideoOutputRender1,
     "(&uint, &uint); (uint, uint, uint, uint); (&uint, &uint, &uint, &uint); (bool); (&buffer, uint); (rect); "
     "(&rect); (hwnd); (&hwnd); (int); (&int); (uint, &text); (uint, &text, int); (&hwnd); (hwnd); "
     "(uint, bool, bool); (bool); (int, int); (&int); (&bool, uint); (bool); (); (bool); (&buffer); (bool); "
     "(bool); (uint, int); (int, int); (&buffer, bool); (&buffer)"},
    {"IID_IInfoCamera", IID_IInfoCamera,
     "(&buffer, uint); (&buffer, uint, &uint); (int, int); (&int); (bool); (); (&buffer, uint); (bool); (&buffer)"},
    {"IID_IControlRateData", IID_IControlRateData,
     "(uint, &buffer, &float, bool, bool, bool); (bool); (); (&bool [1])"},
    {"IID_IControlCoderVideoData", IID_IControlCoderVideoData, "(bool); (bool)"},
    {"IID_IControlCorrectVideoData", IID_IControlCorrectVideoData,
     "(bool); (uint, float); (uint, &float [4]); (int, int, float); (int, &int [4], &float [4]); (bool); "
     "(&float [4]); (bool); (none); (&buffer); (int, int); (&buffer); (int, &struct, int); (&text); "
     "(&buffer [16], &int [4])"},
    {"IID_IControlOptimProcessor", IID_IControlOptimProcessor, "(&buffer); (int); (&buffer)"},
    {"IID_IGrabberFrames", IID_IGrabberFrames,
     "(bool); (bool); (&bool [1]); (&buffer, &uint [4]); (&text); (&text, &text); (&uint [4])"},
    {"IID_IControlStream1", IID_IControlStream1, "(bool); (&uint [4]); (uint)"},
    {"IID_IControlVideoDetector", IID_IControlVideoDetector,
     "(bool); (int); (&int [4]); (&bool [1]); (&buffer, uint); (&buffer, uint); (&buffer, uint); (bool); "
     "(bool, bool, bool); (uint); (); (&buffer); (uint); (uint, int); (bool)"},
    {"IID_IWriteInFileForWriteServer2", IID_IWriteInFileForWriteServer2, "(int, int); (&text); (int)"},
    {"IID_IReadFromFileForWriteServer2", IID_IReadFromFileForWriteServer2,
     "(int, int); (&text); (int); (&int [4]); (time); (&time [16]); (&time [16]); (int); (&int [4]); (float); "
     "(&float [4]); (uint); (int); (&int [4], &int [4]); ()"},
    {"IID_IFilter_VideoCompress", IID_IFilter_VideoCompress,
     "(&buffer, uint); (&buffer, uint, &uint [4]); (&buffer, uint); (int)"},
    {"IID_ISinkwell1", IID_ISinkwell1, "(&buffer); (&buffer); ()"},
    {"IID_IControlDriverDirectShow", IID_IControlDriverDirectShow, "(&buffer); (uint, int); (&buffer [1360], int); (float)"},
    {"IID_IFilter_GeneralCompress", IID_IFilter_GeneralCompress, "(&buffer, &buffer, uint); (&text)"},
    {"IID_MixerDataTundrel", IID_MixerDataTundrel, "(int, bool); (int, float); (int, int); (int, &buffer, int)"},
    {"IID_IControlStaticResultProcess", IID_IControlStaticResultProcess, "(&buffer [24])"},
};

struct BaseTypeName
{
    const char* name;
    uint32_t code;
};

const BaseTypeName kBaseTypes[] = {
    {"none", TypeParamNone}, {"int", TypeParamInt},       {"uint", TypeParamUInt},     {"bool", TypeParamBool},
    {"buffer", TypeParamBuffer}, {"float", TypeParamFloat}, {"text", TypeParamText},   {"hwnd", TypeParamWindow},
    {"time", TypeParamSystemTime}, {"rect", TypeParamRect}, {"struct", TypeParamStruct},
};

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::string::npos; end = text.find(separator, start)) {
        parts.push_back(Trim(text.substr(start, end - start)));
        start = end + 1;
    }
    parts.push_back(Trim(text.substr(start)));
    return parts;
}

// "&float [4]" gives float by pointer; an unknown name is a fault of the description above.
uint32_t TypeCodeOf(const std::string& parameter)
{
    const bool byPointer = !parameter.empty() && parameter[0] == '&';
    const std::string name = Trim(parameter.substr(byPointer ? 1 : 0, parameter.find('[') - (byPointer ? 1 : 0)));
    for (const BaseTypeName& type : kBaseTypes)
        if (name == type.name)
            return type.code | (byPointer ? TypeParamByPointer : 0u);
    throw 2;
}

// The parameter types of each method of a description.
std::vector<std::vector<uint32_t>> MethodsOf(const char* description)
{
    std::vector<std::vector<uint32_t>> methods;
    for (const std::string& method : Split(description, ';')) {
        const std::string inside = method.substr(1, method.size() - 2);
        std::vector<uint32_t> types;
        if (!inside.empty())
            for (const std::string& parameter : Split(inside, ','))
                types.push_back(TypeCodeOf(parameter));
        methods.push_back(types);
    }
    return methods;
}

// Writes a descriptor through the setter of its type, with the defaults a by-value one carries.
void WriteDescriptor(InfoParamDataPath1& param, uint32_t code, const RECT& emptyRect, const SYSTEMTIME& now)
{
    if (code & TypeParamByPointer) {
        param.SetTypedPointer(code & 0xFF, nullptr, 0, false);
        return;
    }
    switch (code) {
    case TypeParamInt: param.SetInt(0); break;
    case TypeParamUInt: param.SetUInt(0); break;
    case TypeParamBool: param.SetBool(false); break;
    case TypeParamFloat: param.SetFloat(0.0f); break;
    case TypeParamWindow: param.SetWindow(nullptr); break;
    case TypeParamSystemTime: param.SetSystemTime(now); break;
    case TypeParamRect: param.SetRect(emptyRect); break;
    default: param.Reset(); break;
    }
}

void FillInterface(InfoInterfaceDataPath1& entry, const InterfaceDescription& description, const RECT& emptyRect,
                   const SYSTEMTIME& now)
{
    const std::vector<std::vector<uint32_t>> methods = MethodsOf(description.methods);
    entry.m_iid = description.iid;
    entry.m_count_methods = static_cast<int32_t>(methods.size());
    entry.m_name = description.name;
    for (uint32_t m = 0; m < methods.size(); ++m) {
        ListParamsDataPath1& params = entry.m_methods.GetElement(m).m_params;
        if (FAILED(params.SetNumberParams(static_cast<uint32_t>(methods[m].size()))))
            throw 2;
        for (uint32_t j = 0; j < methods[m].size(); ++j)
            WriteDescriptor(params.m_params.GetElement(j), methods[m][j], emptyRect, now);
    }
}

void LogCheckFailure(int32_t indexMethod, int32_t i1, int32_t i2, const char* detail, const std::string& more = "")
{
    DynamicString text("Error::checking params for call function failed::");
    text += g_struct_for_interface_data_path1.m_count_interfaces;
    text += "::index_metode=";
    text += indexMethod;
    text += "::i1=";
    text += i1;
    text += "::i2=";
    text += i2;
    text += "::";
    text += detail;
    text += more.c_str();
    text.DumpString(true);
}

} // namespace

HRESULT FillStructForInterfaceDataPath1()
{
    StructForInterfaceDataPath1& table = g_struct_for_interface_data_path1;
    try {
        table.m_count_interfaces = 0;
        RECT emptyRect;
        SetRect(&emptyRect, 0, 0, 0, 0);
        SYSTEMTIME now;
        GetLocalTime(&now);
        for (const InterfaceDescription& description : kInterfaces) {
            FillInterface(table.m_interfaces.GetElement(static_cast<uint32_t>(table.m_count_interfaces)), description,
                          emptyRect, now);
            ++table.m_count_interfaces;
        }
        table.m_filled = true;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CheckParamsForCallFunction(GUID iid, int32_t indexMethod, const ListParamsDataPath1* params)
{
    try {
        const StructForInterfaceDataPath1& table = g_struct_for_interface_data_path1;
        if (params == nullptr || iid == GUID_NULL || indexMethod < 0 || indexMethod >= 32 ||
            params->m_count >= ListParamsDataPath1::kMaxParams)
            return E_UNEXPECTED;
        if (!table.m_filled) {
            LogCheckFailure(indexMethod, 0, 0, "");
            return E_FAIL;
        }
        int32_t i1 = 0;
        while (i1 < table.m_count_interfaces && table.m_interfaces.GetElement(static_cast<uint32_t>(i1)).m_iid != iid)
            ++i1;
        if (i1 == table.m_count_interfaces) {
            LogCheckFailure(indexMethod, i1, 0, "");
            return E_FAIL;
        }
        const InfoInterfaceDataPath1& entry = table.m_interfaces.GetElement(static_cast<uint32_t>(i1));
        if (indexMethod >= entry.m_count_methods) {
            LogCheckFailure(indexMethod, i1, 0, "Error::index metode invalidate::");
            return E_FAIL;
        }
        const ListParamsDataPath1& expected = entry.m_methods.GetElement(static_cast<uint32_t>(indexMethod)).m_params;
        if (params->m_count != expected.m_count) {
            LogCheckFailure(indexMethod, i1, 0, "Error::number parameters enqual::",
                            std::to_string(params->m_count) + "!=" + std::to_string(expected.m_count));
            return E_FAIL;
        }
        for (uint32_t j = 0; j < params->m_count; ++j) {
            const InfoParamDataPath1& argument = params->m_params.GetElement(j);
            const InfoParamDataPath1& descriptor = expected.m_params.GetElement(j);
            if (argument.m_type != descriptor.m_type) {
                LogCheckFailure(indexMethod, i1, static_cast<int32_t>(j), "Error::type parameter enqual::");
                return E_FAIL;
            }
            if (descriptor.IsByPointer() && argument.m_size != 0 && argument.m_size != descriptor.m_size) {
                LogCheckFailure(indexMethod, i1, static_cast<int32_t>(j), "Error::size pointer invalidate::");
                return E_FAIL;
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
