# Compiles the help project with chmcmd in a clean working copy and copies the
# result to its place. Fails when chmcmd fails or reports a warning or error.
#   CHMCMD     the chmcmd program
#   SORGENTI   folder of the help sources
#   FILE       the source files, relative to SORGENTI (a list)
#   LAVORO     working folder, emptied first
#   PROGETTO   the .hhp project, relative to SORGENTI
#   RISULTATO  full path of the .chm to write
foreach(v CHMCMD SORGENTI FILE LAVORO PROGETTO RISULTATO)
  if(NOT DEFINED ${v} OR "${${v}}" STREQUAL "")
    message(FATAL_ERROR "CompilaGuida.cmake: ${v} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${LAVORO})
file(MAKE_DIRECTORY ${LAVORO})
foreach(f ${FILE})
  get_filename_component(cartella ${f} DIRECTORY)
  file(COPY ${SORGENTI}/${f} DESTINATION ${LAVORO}/${cartella})
endforeach()

execute_process(
  COMMAND ${CHMCMD} ${PROGETTO}
  WORKING_DIRECTORY ${LAVORO}
  RESULT_VARIABLE esito
  OUTPUT_VARIABLE uscita
  ERROR_VARIABLE errori)

get_filename_component(nome_chm ${RISULTATO} NAME)
string(REGEX MATCHALL "[^\n]*([Ww]arning|[Ee]rror|[Ee]xception)[^\n]*" problemi "${uscita}\n${errori}")
if(NOT esito EQUAL 0 OR problemi OR NOT EXISTS ${LAVORO}/${nome_chm})
  message(FATAL_ERROR "chmcmd failed on ${PROGETTO} (exit ${esito}):\n${uscita}\n${errori}")
endif()

get_filename_component(cartella_risultato ${RISULTATO} DIRECTORY)
file(MAKE_DIRECTORY ${cartella_risultato})
file(COPY_FILE ${LAVORO}/${nome_chm} ${RISULTATO})
