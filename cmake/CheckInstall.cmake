# ctest: installs BUILD_DIR into a fresh PREFIX and checks that every file the package ships
# is there and not empty; the desktop entry must pass desktop-file-validate when it is present.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed")
endif()

set(expected ${BINDIR}/orvalis-cli ${MODULEDIR}/orvalis-gdal.so ${DATADIR}/doc/orvalis/copyright)
if(GUI)
  list(APPEND expected ${MODULEDIR}/orvalis-charts.so)
  set(desktop ${DATADIR}/applications/orvalis.desktop)
  list(APPEND expected ${BINDIR}/orvalis ${desktop} ${DATADIR}/icons/hicolor/scalable/apps/orvalis.svg
       ${DATADIR}/doc/orvalis/README.md ${DATADIR}/orvalis/examples/augusta_forest.tga
       ${DATADIR}/orvalis/examples/augusta_nlcd.tif)
endif()
if(MAN_PAGES)
  list(APPEND expected ${MANDIR}/man1/orvalis-cli.1.gz)
  if(GUI)
    list(APPEND expected ${MANDIR}/man1/orvalis.1.gz)
  endif()
endif()
set(missing "")
foreach(file IN LISTS expected)
  if(EXISTS "${PREFIX}/${file}")
    file(SIZE "${PREFIX}/${file}" size)
  endif()
  if(NOT EXISTS "${PREFIX}/${file}" OR size EQUAL 0)
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "missing or empty under ${PREFIX}: ${missing}")
endif()

# The installed program finds its modules from where it is: a map is read through one.
execute_process(COMMAND "${PREFIX}/${BINDIR}/orvalis-cli" metrics "${SOURCE_DIR}/examples/augusta_nlcd.tif"
                        --metrics np --output - RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed orvalis-cli does not read a map through its module: ${error}")
endif()

find_program(VALIDATE desktop-file-validate)
if(GUI AND VALIDATE)
  execute_process(COMMAND ${VALIDATE} "${PREFIX}/${desktop}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejects ${desktop}")
  endif()
endif()
