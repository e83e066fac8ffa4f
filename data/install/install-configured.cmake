# Run by the install: writes the files that name installed paths. A staged
# install (DESTDIR, as the package build does) writes below DESTDIR but names
# the paths the files will have once installed.
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(root "$ENV{DESTDIR}${prefix}")
set(VELLARA_BIN "${prefix}/${VELLARA_BINDIR}/vellara")
set(VELLARA_START "${prefix}/${VELLARA_BINDIR}/vellara-start")
set(VELLARA_PREPARE "${prefix}/${VELLARA_LIBEXECDIR}/vellara/prepare-workdir.sh")
set(VELLARA_SAMPLE "${prefix}/${VELLARA_DATADIR}/vellara/sample")

function(vellara_installed path)
  message(STATUS "Installing: ${path}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${path}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

# Manual pages and the Debian changelog go compressed, without a time stamp,
# so that two builds of one source give the same package.
function(vellara_gzip source target)
  get_filename_component(dir "${target}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  execute_process(COMMAND gzip -9 -n -c "${source}" OUTPUT_FILE "${target}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not write ${target}")
  endif()
  file(CHMOD "${target}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

set(start "${root}/${VELLARA_BINDIR}/vellara-start")
configure_file("${VELLARA_INSTALL_SOURCE}/vellara-start.in" "${start}" @ONLY)
file(CHMOD "${start}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
vellara_installed("${start}")

set(desktop "${root}/${VELLARA_DATADIR}/applications/${VELLARA_APP_ID}.desktop")
configure_file("${VELLARA_INSTALL_SOURCE}/${VELLARA_APP_ID}.desktop.in" "${desktop}" @ONLY)
vellara_installed("${desktop}")

set(man1 "${root}/${VELLARA_MANDIR}/man1")
configure_file("${VELLARA_INSTALL_SOURCE}/vellara.1.in" "${VELLARA_INSTALL_WORK}/vellara.1" @ONLY)
vellara_gzip("${VELLARA_INSTALL_WORK}/vellara.1" "${man1}/vellara.1.gz")
vellara_installed("${man1}/vellara.1.gz")
# One page tells of both commands.
file(CREATE_LINK vellara.1.gz "${man1}/vellara-start.1.gz" SYMBOLIC)
vellara_installed("${man1}/vellara-start.1.gz")

set(changelog "${root}/${VELLARA_DOCDIR}/changelog.Debian.gz")
vellara_gzip("${VELLARA_INSTALL_SOURCE}/changelog.Debian" "${changelog}")
vellara_installed("${changelog}")
