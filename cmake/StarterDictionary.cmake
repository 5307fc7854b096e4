# Makes OUT from TSV with the dictionary tool, unless OUT already exists.
# The dictionary is built under another name and moved into place without
# replacing anything, so an interrupted build leaves no half-filled file.
if(EXISTS "${OUT}")
    return()
endif()
# A journal beside a missing dictionary is left from one that was removed:
# the engine would take its pages into the new dictionary as its own. It is
# set aside, never removed (it may hold the last words of the old one).
# (Its new name keeps the ending that make clean leaves alone.)
string(TIMESTAMP stamp "%Y%m%d-%H%M%S")
get_filename_component(folder "${OUT}" DIRECTORY)
get_filename_component(name "${OUT}" NAME_WE)
foreach(ending wal journal)
    set(journal "${OUT}-${ending}")
    set(kept "${folder}/${name}-left-${stamp}.tvl-${ending}")
    if(EXISTS "${journal}")
        file(RENAME "${journal}" "${kept}" RESULT aside NO_REPLACE)
        if(NOT aside EQUAL 0)
            message(FATAL_ERROR "${journal} stands without its dictionary and cannot be set "
                                "aside (${aside}); move it away, then build again")
        endif()
        file(REMOVE "${journal}") # the move without replacing links the new name first
        message(WARNING "${journal} stood without its dictionary; it is kept as ${kept}")
    endif()
endforeach()
set(part "${OUT}.part")
set(part_files "${part}" "${part}-wal" "${part}-shm" "${part}-journal")
file(REMOVE ${part_files})
execute_process(COMMAND "${TOOL}" import --kind "${KIND}" "${part}" "${TSV}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    file(REMOVE ${part_files})
    message(FATAL_ERROR "could not make ${OUT} from ${TSV}")
endif()
# The new dictionary's words are all in the file before it moves: the tool
# folds its journal into the file when it closes it, and opening and closing
# it once more does so again. A journal still there would be left behind.
if(EXISTS "${part}-wal" OR EXISTS "${part}-journal")
    execute_process(COMMAND "${TOOL}" count --kind "${KIND}" "${part}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
endif()
if(EXISTS "${part}-wal" OR EXISTS "${part}-journal")
    file(REMOVE ${part_files})
    message(FATAL_ERROR "could not make ${OUT} from ${TSV}: its journal stays beside it")
endif()
# Without replacing: a dictionary that appeared meanwhile is kept as it is.
file(RENAME "${part}" "${OUT}" RESULT moved NO_REPLACE)
file(REMOVE ${part_files})
