# Fails when a source of the rules library includes a Qt header.
file(GLOB_RECURSE _files ${ROOT}/src/core/*)
foreach(f ${_files})
  file(STRINGS ${f} _hits REGEX "#include[ \t]*<Q")
  if(_hits)
    message(FATAL_ERROR "${f} includes Qt: ${_hits}")
  endif()
endforeach()
message(STATUS "rules library is free of Qt")
