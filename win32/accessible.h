#pragma once

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <optional>
#include <string>

namespace win32 {

// What a screen reader reads of one control through MSAA: the system's own object for the
// window's client area, with the name, description, role and states that the program gives it
// laid over the system's. Everything else, the value of an edit box and the state of a check
// box among it, is the system's. A window answers WM_GETOBJECT with it (Answer); the owner
// disconnects it when the window goes, and it answers nothing more from then on.
class Accessible final : public IAccessible {
  public:
    // A role of 0 keeps the system's; `states` are added to the system's.
    explicit Accessible(HWND hwnd, LONG role = 0, LONG states = 0);
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    // Each says whether the text changed.
    bool SetName(std::wstring name);
    bool SetDescription(std::wstring description);
    LRESULT Answer(WPARAM wParam);
    void Disconnect();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override;

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  private:
    ~Accessible();
    // The system's object, made when first asked for; none once disconnected.
    IAccessible* System();
    template <class... Parameters, class... Arguments>
    HRESULT Forward(HRESULT (STDMETHODCALLTYPE IAccessible::*method)(Parameters...), Arguments... arguments)
    {
        IAccessible* system = System();
        return system != nullptr ? (system->*method)(arguments...) : CO_E_OBJNOTCONNECTED;
    }

    ULONG references_ = 1;
    HWND hwnd_;
    LONG role_;
    LONG states_;
    IAccessible* system_ = nullptr;
    std::optional<std::wstring> name_;
    std::optional<std::wstring> description_;
};

// Owns one reference and disconnects the object when it lets go: a client in another process
// may still hold one.
struct DisconnectAccessible {
    void operator()(Accessible* accessible) const;
};
using AccessiblePtr = std::unique_ptr<Accessible, DisconnectAccessible>;

} // namespace win32
