// The browser program: the window in the page, and then the browser's own event loop.
#include "form/form1.h"
#include "web/page.h"

int main()
{
    // Both live as long as the page; the browser runs the program once main has returned.
    static web::Page page;
    static form::Form1 form(page);
    page.Attach(form);
    form.Load();
    return 0;
}
