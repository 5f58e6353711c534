# Writes the shipped language files into a C++ source, as the texts the
# program falls back to: cmake -DUSCITA=file.cpp -DITALIANO=italian.lng
# -DINGLESE=english.lng -P IncorporaLingue.cmake
file(READ "${ITALIANO}" italiano)
file(READ "${INGLESE}" inglese)
foreach(testo italiano inglese)
  string(FIND "${${testo}}" ")TOVARIN_LNG\"" dentro)
  if(NOT dentro EQUAL -1)
    message(FATAL_ERROR "the language file holds the end mark of its raw string")
  endif()
endforeach()
file(WRITE "${USCITA}.nuovo" "// Made by IncorporaLingue.cmake from the shipped language files.
#include <string_view>

namespace modLanguageSupport {
extern const std::string_view LinguaIncorporataItaliana;
extern const std::string_view LinguaIncorporataInglese;
const std::string_view LinguaIncorporataItaliana = R\"TOVARIN_LNG(${italiano})TOVARIN_LNG\";
const std::string_view LinguaIncorporataInglese = R\"TOVARIN_LNG(${inglese})TOVARIN_LNG\";
}  // namespace modLanguageSupport
")
file(COPY_FILE "${USCITA}.nuovo" "${USCITA}" ONLY_IF_DIFFERENT)
file(REMOVE "${USCITA}.nuovo")
