// The browser program: the window in the page, and then the browser's own event loop.
#include "drill/exercise_text.h"
#include "form/form1.h"
#include "web/page.h"

int main()
{
    // Both live as long as the page; the browser runs the program once main has returned.
    static web::Page page;
    static form::Form1 form(page);
    page.Attach(form);
    form.Load();
    // A teacher shares an exercise as the page's address, and Start puts the settings used there,
    // ready to be shared. A browser keeps no results: a results folder in an address is ignored.
    if (const std::string fragment = page.Fragment(); !fragment.empty()) {
        drill::ReadExercise read = drill::ReadExerciseText(fragment);
        read.Read.ResultsFolder.clear();
        form.ApplyExercise(read.Read);
        if (read.Problem)
            form.Tell(drill::ExerciseProblemMessage(*read.Problem));
    }
    form.Started = [](const drill::Exercise& exercise) { page.ShowFragment(drill::WriteExerciseText(exercise)); };
    return 0;
}
