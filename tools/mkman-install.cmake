# Run by `cmake --install`: the manual page of every program that was built, made from its
# --help by mkman.sh and installed in man1. The variables come from data/CMakeLists.txt.
set(_descriptions
  "kvx50=programming software for KV_X50_WQN7 hand-held radios"
  "kvx50-cli=scripted read, write, backup and conversion for KV_X50_WQN7 radios"
  "kvx50-radiosim=a KV_X50_WQN7 radio on a pseudo-terminal")
file(MAKE_DIRECTORY "${KVX50_MAN_OUT}")
foreach(_entry IN LISTS _descriptions)
  string(FIND "${_entry}" "=" _eq)
  string(SUBSTRING "${_entry}" 0 ${_eq} _program)
  math(EXPR _from "${_eq} + 1")
  string(SUBSTRING "${_entry}" ${_from} -1 _description)
  if(NOT EXISTS "${KVX50_MAN_BIN}/${_program}")
    continue()
  endif()
  execute_process(
    COMMAND sh "${KVX50_MAN_TOOL}" "${KVX50_MAN_BIN}/${_program}" "${KVX50_MAN_VERSION}"
            "${_description}"
    OUTPUT_FILE "${KVX50_MAN_OUT}/${_program}.1"
    RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "The manual page of ${_program} could not be made")
  endif()
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KVX50_MAN_DIR}" TYPE FILE
       FILES "${KVX50_MAN_OUT}/${_program}.1")
endforeach()

# Tell the desktop about the new file type, entry and icon when installing for real (a staged
# install leaves that to the package's own scripts).
if("$ENV{DESTDIR}" STREQUAL "")
  find_program(_mime update-mime-database)
  if(_mime)
    execute_process(COMMAND "${_mime}" "${CMAKE_INSTALL_PREFIX}/${KVX50_DATA_ROOT}/mime"
                    OUTPUT_QUIET ERROR_QUIET)
  endif()
  find_program(_desktop update-desktop-database)
  if(_desktop)
    execute_process(COMMAND "${_desktop}" "${CMAKE_INSTALL_PREFIX}/${KVX50_DATA_ROOT}/applications"
                    OUTPUT_QUIET ERROR_QUIET)
  endif()
endif()
