#include <windows.h>
#include <wbemidl.h>

#include "statistics/WmiSession.h"
#include "statistics/WmiProcessState.h"

namespace {

// RPC_E_TOO_LATE: security was set up before, by this process or by its host.
constexpr HRESULT kSecurityAlreadySet = static_cast<HRESULT>(0x80010119L);

class WmiRow : public WmiPropertySource {
public:
    explicit WmiRow(IWbemClassObject* row) : row_(row) {}
    bool Get(const wchar_t* name, ComVariant& value) const override {
        if (FAILED(row_->Get(name, 0, value.Receive(), nullptr, nullptr))) {
            value.Clear();
            return false;
        }
        return value.Type() != VT_NULL && value.Type() != VT_EMPTY;
    }

private:
    IWbemClassObject* row_;
};

} // namespace

WmiSession::~WmiSession() {
    services_.Reset();
    locator_.Reset();
    WmiProcessState::DropPromises(this);
}

int WmiSession::Connect(bool& setFlag) {
    coInitializeResult_ = ::CoInitialize(nullptr);
    if (FAILED(coInitializeResult_)) {
        return 0;
    }
    const HRESULT security =
        ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                               RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(security) && security != kSecurityAlreadySet) {
        // Without security WMI would refuse every call; don't try again in this process.
        setFlag = true;
        return kWmiOpened;
    }
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, locator_.ReceiveVoid()))) {
        return 0;
    }
    const ComBstr wmiNamespace(L"root\\CIMV2");
    if (FAILED(locator_->ConnectServer(wmiNamespace.Get(), nullptr, nullptr, nullptr, 0, nullptr,
                                       nullptr, services_.Receive()))) {
        return 0;
    }
    if (FAILED(::CoSetProxyBlanket(services_.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE))) {
        return 0;
    }
    setFlag = true;
    return kWmiOpened;
}

int WmiSession::Open(bool force, int promisedGroups) {
    if (!WmiProcessState::BeginOpen(force)) {
        return kWmiAlreadyOpened;
    }
    // A forced reopen of the same session must not leak the earlier connection.
    if (services_ || locator_ || SUCCEEDED(coInitializeResult_)) {
        CloseWmiSession(*this);
    }
    bool setFlag = false;
    int result = 0;
    try {
        result = Connect(setFlag);
    } catch (...) {
        WmiProcessState::EndOpen(false, nullptr, 0);
        throw;
    }
    WmiProcessState::EndOpen(setFlag, services_ ? this : nullptr, promisedGroups);
    return result;
}

int OpenWmiSession(WmiSession& session, bool force) {
    return session.Open(force, kWmiAllCachedGroups);
}

int OpenWmiSessionForReport(WmiSession& session, int hardwareMask) {
    const int groups = hardwareMask & kWmiAllCachedGroups;
    if (groups == 0) {
        return kWmiAlreadyOpened;
    }
    return session.Open(false, groups);
}

int CloseWmiSession(WmiSession& session) {
    session.services_.Reset();
    session.locator_.Reset();
    WmiProcessState::DropPromises(&session);
    // Every successful CoInitialize, S_FALSE included, needs its CoUninitialize.
    if (SUCCEEDED(session.coInitializeResult_)) {
        ::CoUninitialize();
    }
    session.coInitializeResult_ = -1;
    return 1;
}

bool IsWmiOpenedInProcess() {
    return WmiProcessState::IsOpened();
}

HRESULT RunWmiQuery(const WmiSession& session, const wchar_t* queryText,
                    const std::function<void(const WmiPropertySource&)>& onRow) {
    if (session.Services() == nullptr) {
        return S_FALSE;
    }
    const ComBstr language(L"WQL");
    const ComBstr query(queryText);
    ComPtr<IEnumWbemClassObject> rows;
    WmiProcessState::CountQuery();
    const HRESULT hr = session.Services()->ExecQuery(
        language.Get(), query.Get(), WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY, nullptr,
        rows.Receive());
    if (FAILED(hr)) {
        return hr;
    }
    while (rows) {
        ComPtr<IWbemClassObject> row;
        ULONG count = 0;
        if (rows->Next(WBEM_INFINITE, 1, row.Receive(), &count) != WBEM_S_NO_ERROR || count == 0 ||
            !row) {
            break;
        }
        onRow(WmiRow(row.Get()));
    }
    return S_OK;
}

std::uint32_t GetWmiQueryCount() {
    return WmiProcessState::QueryCount();
}

void ResetWmiProcessState() {
    WmiProcessState::Reset();
}
