# Sources are picked up by directory so that a new file needs no edit here.
function(kvx50_glob out)
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS ${ARGN})
  set(${out} ${_files} PARENT_SCOPE)
endfunction()
