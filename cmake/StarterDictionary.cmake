# Makes OUT from TSV with the dictionary tool, unless OUT already exists.
# The dictionary is built under another name and moved into place without
# replacing anything, so an interrupted build leaves no half-filled file.
if(EXISTS "${OUT}")
    return()
endif()
set(part "${OUT}.part")
file(REMOVE "${part}" "${part}-wal" "${part}-shm" "${part}-journal")
execute_process(COMMAND "${TOOL}" import --kind "${KIND}" "${part}" "${TSV}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    file(REMOVE "${part}")
    message(FATAL_ERROR "could not make ${OUT} from ${TSV}")
endif()
# Without replacing: a dictionary that appeared meanwhile is kept as it is.
file(RENAME "${part}" "${OUT}" RESULT moved NO_REPLACE)
file(REMOVE "${part}")
