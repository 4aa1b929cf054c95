// Reading an exercise from any text a link, a command line or a school's file may bring.
#include "drill/exercise_text.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string_view>

using namespace drill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ReadExercise read;
    fuzz::RequireFast("reading an exercise", [&] { read = ReadExerciseText(text); });
    if (read.Problem) {
        FUZZ_REQUIRE(!read.Read.Locked);
        FUZZ_REQUIRE(!ExerciseProblemMessage(*read.Problem).empty());
    }
    for (const int check : read.Read.Settings.Checks)
        FUZZ_REQUIRE(check == 0 || check == 1);
    // Whatever was read writes as a text that reads back as the same exercise.
    const std::string written = WriteExerciseText(read.Read);
    if (written.size() <= kMaxExerciseText) {
        const ReadExercise again = ReadExerciseText(written);
        FUZZ_REQUIRE(!again.Problem);
        FUZZ_REQUIRE(again.Read == read.Read);
    }
    return 0;
}
