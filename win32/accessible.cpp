#include "win32/accessible.h"

#include <utility>

namespace win32 {

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Copy(const std::optional<std::wstring>& text, BSTR* out)
{
    if (out == nullptr)
        return E_INVALIDARG;
    *out = text->empty() ? nullptr : SysAllocString(text->c_str());
    return *out != nullptr ? S_OK : S_FALSE;
}

} // namespace

Accessible::Accessible(HWND hwnd, LONG role, LONG states) : hwnd_(hwnd), role_(role), states_(states) {}

Accessible::~Accessible()
{
    if (system_ != nullptr)
        system_->Release();
}

bool Accessible::SetName(std::wstring name)
{
    if (name_ == name)
        return false;
    name_ = std::move(name);
    return true;
}

bool Accessible::SetDescription(std::wstring description)
{
    if (description_ == description)
        return false;
    description_ = std::move(description);
    return true;
}

LRESULT Accessible::Answer(WPARAM wParam) { return LresultFromObject(__uuidof(IAccessible), wParam, this); }

void Accessible::Disconnect()
{
    hwnd_ = nullptr;
    if (system_ != nullptr)
        std::exchange(system_, nullptr)->Release();
    CoDisconnectObject(this, 0);
}

IAccessible* Accessible::System()
{
    if (system_ == nullptr && hwnd_ != nullptr &&
        FAILED(CreateStdAccessibleObject(hwnd_, static_cast<LONG>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&system_))))
        system_ = nullptr;
    return system_;
}

HRESULT Accessible::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    // The system object's other interfaces (the children's enumerator, the window it stands
    // for) serve as they are.
    *object = nullptr;
    return System() != nullptr ? system_->QueryInterface(iid, object) : E_NOINTERFACE;
}

ULONG Accessible::AddRef() { return ++references_; }

ULONG Accessible::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

// Clients reach MSAA through the interface itself, never through IDispatch.
HRESULT Accessible::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT Accessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT Accessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT Accessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }

HRESULT Accessible::get_accName(VARIANT child, BSTR* name)
{
    if (IsSelf(child) && name_)
        return Copy(name_, name);
    return Forward(&IAccessible::get_accName, child, name);
}

HRESULT Accessible::get_accDescription(VARIANT child, BSTR* description)
{
    if (IsSelf(child) && description_)
        return Copy(description_, description);
    return Forward(&IAccessible::get_accDescription, child, description);
}

HRESULT Accessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (IsSelf(child) && role_ != 0 && role != nullptr) {
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }
    return Forward(&IAccessible::get_accRole, child, role);
}

HRESULT Accessible::get_accState(VARIANT child, VARIANT* state)
{
    const HRESULT result = Forward(&IAccessible::get_accState, child, state);
    if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4)
        state->lVal |= states_;
    return result;
}

// The rest is the system's.

HRESULT Accessible::get_accParent(IDispatch** parent) { return Forward(&IAccessible::get_accParent, parent); }

HRESULT Accessible::get_accChildCount(LONG* count) { return Forward(&IAccessible::get_accChildCount, count); }

HRESULT Accessible::get_accChild(VARIANT child, IDispatch** object)
{
    return Forward(&IAccessible::get_accChild, child, object);
}

HRESULT Accessible::get_accValue(VARIANT child, BSTR* value)
{
    return Forward(&IAccessible::get_accValue, child, value);
}

HRESULT Accessible::get_accHelp(VARIANT child, BSTR* help) { return Forward(&IAccessible::get_accHelp, child, help); }

HRESULT Accessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic)
{
    return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
}

HRESULT Accessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return Forward(&IAccessible::get_accKeyboardShortcut, child, shortcut);
}

HRESULT Accessible::get_accFocus(VARIANT* child) { return Forward(&IAccessible::get_accFocus, child); }

HRESULT Accessible::get_accSelection(VARIANT* children) { return Forward(&IAccessible::get_accSelection, children); }

HRESULT Accessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return Forward(&IAccessible::get_accDefaultAction, child, action);
}

HRESULT Accessible::accSelect(LONG flags, VARIANT child) { return Forward(&IAccessible::accSelect, flags, child); }

HRESULT Accessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child)
{
    return Forward(&IAccessible::accLocation, left, top, width, height, child);
}

HRESULT Accessible::accNavigate(LONG direction, VARIANT start, VARIANT* end)
{
    return Forward(&IAccessible::accNavigate, direction, start, end);
}

HRESULT Accessible::accHitTest(LONG left, LONG top, VARIANT* child)
{
    return Forward(&IAccessible::accHitTest, left, top, child);
}

HRESULT Accessible::accDoDefaultAction(VARIANT child) { return Forward(&IAccessible::accDoDefaultAction, child); }

HRESULT Accessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT Accessible::put_accValue(VARIANT child, BSTR value)
{
    return Forward(&IAccessible::put_accValue, child, value);
}

void DisconnectAccessible::operator()(Accessible* accessible) const
{
    accessible->Disconnect();
    accessible->Release();
}

} // namespace win32
