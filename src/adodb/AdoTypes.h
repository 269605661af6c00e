#pragma once
// The numeric codes of the ADO object model: result codes, variant types and the ADO
// enumerations, with the values callers pass and compare.

#include <cstdint>

namespace adodb {

using HRESULT = std::int32_t;
using VARTYPE = std::uint16_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DB_E_ERRORSINCOMMAND = static_cast<HRESULT>(0x80040E14u);
constexpr HRESULT DB_E_ERRORSOCCURRED = static_cast<HRESULT>(0x80040E21u);
constexpr HRESULT DB_E_NOTABLE = static_cast<HRESULT>(0x80040E37u);
constexpr HRESULT DB_E_CONCURRENCYVIOLATION = static_cast<HRESULT>(0x80040E38u);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_LPSTR = 30,
    VT_LPWSTR = 31,
    VT_BLOB = 65,
    VT_BLOB_OBJECT = 70,
    VT_ARRAY = 0x2000,
};

enum CursorTypeEnum : long {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3,
};

enum LockTypeEnum : long {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4,
};

enum CommandTypeEnum : long {
    adCmdUnspecified = -1,
    adCmdText = 1,
    adCmdTable = 2,
    adCmdStoredProc = 4,
    adCmdUnknown = 8,
    adCmdTableDirect = 512,
};

enum ObjectStateEnum : long { adStateClosed = 0, adStateOpen = 1 };

enum EditModeEnum : long {
    adEditNone = 0,
    adEditInProgress = 1,
    adEditAdd = 2,
    adEditDelete = 4,
};

enum SearchDirectionEnum : long { adSearchForward = 1, adSearchBackward = -1 };

enum BookmarkEnum : long { adBookmarkCurrent = 0, adBookmarkFirst = 1, adBookmarkLast = 2 };

enum PositionEnum : long { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

enum CursorLocationEnum : long { adUseNone = 1, adUseServer = 2, adUseClient = 3 };

enum AffectEnum : long { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3 };

enum SchemaEnum : long { adSchemaTables = 20 };

enum FieldAttributeEnum : long {
    adFldMayDefer = 0x2,
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
    adFldRowID = 0x100,
    adFldKeyColumn = 0x8000,
};

enum DataTypeEnum : long {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adBoolean = 11,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

} // namespace adodb
