// The Windows program: Form1's behaviour on the Win32 frontend.

#include "form/form1.h"
#include "win32/toolkit.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/)
{
    win32::Toolkit toolkit(instance);
    form::Form1 form(toolkit);
    toolkit.Attach(form);
    form.Load();
    toolkit.Show();
    return toolkit.Run();
}
