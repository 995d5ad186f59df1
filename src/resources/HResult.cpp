#include "resources/HResult.h"

#include <array>

namespace {

struct HResultText {
    HRESULT code;
    const char* name;
    const char* description;
};

constexpr std::array kTable{
    HResultText{S_OK, "S_OK", "The operation completed successfully."},
    HResultText{S_FALSE, "S_FALSE", "The operation completed with a negative answer."},
    HResultText{E_NOTIMPL, "E_NOTIMPL", "Not implemented."},
    HResultText{E_NOINTERFACE, "E_NOINTERFACE", "No such interface supported."},
    HResultText{E_POINTER, "E_POINTER", "Invalid pointer."},
    HResultText{E_ABORT, "E_ABORT", "Operation aborted."},
    HResultText{E_FAIL, "E_FAIL", "Unspecified error."},
    HResultText{E_UNEXPECTED, "E_UNEXPECTED", "Catastrophic failure."},
    HResultText{E_OUTOFMEMORY, "E_OUTOFMEMORY", "Ran out of memory."},
    HResultText{E_INVALIDARG, "E_INVALIDARG", "One or more arguments are invalid."},
    HResultText{DISP_E_UNKNOWNINTERFACE, "DISP_E_UNKNOWNINTERFACE", "Unknown interface."},
    HResultText{DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND", "Member not found."},
    HResultText{DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND", "Parameter not found."},
    HResultText{DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH", "Type mismatch."},
    HResultText{DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME", "Unknown name."},
    HResultText{DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE", "Bad variable type."},
    HResultText{DISP_E_EXCEPTION, "DISP_E_EXCEPTION", "Exception occurred."},
    HResultText{DISP_E_OVERFLOW, "DISP_E_OVERFLOW", "Out of present range."},
    HResultText{DISP_E_BADINDEX, "DISP_E_BADINDEX", "Invalid index."},
    HResultText{DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT", "Invalid number of parameters."},
    HResultText{D3DXERR_INVALIDDATA, "D3DXERR_INVALIDDATA", "The data is invalid."},
};

const HResultText* Find(HRESULT hr) {
    for (const auto& entry : kTable) {
        if (entry.code == hr) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

const char* HResultName(HRESULT hr) {
    const HResultText* entry = Find(hr);
    return entry ? entry->name : "Unknown";
}

const char* HResultDescription(HRESULT hr) {
    const HResultText* entry = Find(hr);
    return entry ? entry->description : "n/a";
}
