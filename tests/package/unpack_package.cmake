# Unpacks the release zip into a fresh folder (its name has Chinese characters, as a user's
# download folder may) and checks what a user gets: exactly kv.exe, APlayer.dll and
# 使用说明.txt, and programs that import no DLL but Windows' own.
# cmake -DZIP=... -DFOLDER=... -DOBJDUMP=... -P unpack_package.cmake
cmake_policy(SET CMP0057 NEW)
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${FOLDER}")

file(GLOB_RECURSE unpacked LIST_DIRECTORIES true RELATIVE "${FOLDER}" "${FOLDER}/*")
list(SORT unpacked)
set(expected APlayer.dll kv.exe 使用说明.txt)
if(NOT unpacked STREQUAL expected)
  message(FATAL_ERROR "the zip holds [${unpacked}], not [${expected}]")
endif()

# Libraries every Windows from 7 on has in its system folder.
set(windows_own
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  shell32.dll shlwapi.dll user32.dll mf.dll mfplat.dll mfreadwrite.dll dwmapi.dll wtsapi32.dll)
foreach(program kv.exe APlayer.dll)
  execute_process(COMMAND ${OBJDUMP} -p "${FOLDER}/${program}" OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objdump cannot read ${program}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  if(NOT imports)
    message(FATAL_ERROR "${program} shows no imports")
  endif()
  foreach(import IN LISTS imports)
    string(REPLACE "DLL Name: " "" library "${import}")
    string(STRIP "${library}" library)
    string(TOLOWER "${library}" library)
    if(NOT library IN_LIST windows_own)
      message(FATAL_ERROR "${program} needs ${library}, which Windows does not have")
    endif()
  endforeach()
  # Stripped: objdump names no symbol table (HAS_SYMS) and no debugging information.
  execute_process(COMMAND ${OBJDUMP} -f "${FOLDER}/${program}" OUTPUT_VARIABLE file_header)
  if(file_header MATCHES "HAS_SYMS|HAS_DEBUG")
    message(FATAL_ERROR "${program} is not stripped")
  endif()
  message(STATUS "${program}: ${imports}")
endforeach()
