# The Debian package: `cpack -G DEB` in a build tree configured for /usr (see scripts/package.sh)
# makes rova_<version>_amd64.deb from what the install rules install.

set(ROVA_MAINTAINER "Mirelight <rova@mirelight.org>"
    CACHE STRING "The package maintainer, as \"Name <address>\"")

# Every Debian package carries its copyright statement and, for a package without a Debian
# revision, its change log as usr/share/doc/<package>/changelog.gz. Both are written at configure
# time; gzip -9n leaves no name or time stamp in the archive.
set(rova_doc_dir ${CMAKE_BINARY_DIR}/packaging)
file(WRITE ${rova_doc_dir}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: Rova\n"
     "Upstream-Contact: ${ROVA_MAINTAINER}\n"
     "\n"
     "Files: *\n"
     "Copyright: 2026 Mirelight\n"
     "License: proprietary\n"
     " All rights reserved.\n")
file(WRITE ${rova_doc_dir}/changelog
     "rova (${PROJECT_VERSION}) unstable; urgency=medium\n"
     "\n"
     "  * First release.\n"
     "\n"
     " -- ${ROVA_MAINTAINER}  Mon, 07 Dec 2026 00:00:00 +0000\n")
find_program(ROVA_GZIP gzip REQUIRED)
execute_process(COMMAND ${ROVA_GZIP} -9nf ${rova_doc_dir}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${rova_doc_dir}/copyright ${rova_doc_dir}/changelog.gz DESTINATION share/doc/rova)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rova)
set(CPACK_PACKAGE_VENDOR Mirelight)
set(CPACK_PACKAGE_CONTACT "${ROVA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The programs are stripped as they are installed for packing; then, as dh_strip does, the
# script drops the .comment and .note sections, which the stripping keeps and nothing reads.
set(CPACK_STRIP_FILES ON)
find_program(ROVA_STRIP strip REQUIRED)
file(CONFIGURE OUTPUT ${rova_doc_dir}/StripSections.cmake @ONLY CONTENT [[
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "@ROVA_STRIP@" --remove-section=.comment --remove-section=.note
                            "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
]])
set(CPACK_PRE_BUILD_SCRIPTS ${rova_doc_dir}/StripSections.cmake)
# Folders as Debian wants them whatever the umask of the build: rwxr-xr-x.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ROVA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The first line is the synopsis; the rest is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "make and show animated content on a rotor display
Rova makes and shows animated content on a rotor: a spinning arm of 16
three-colour lamps that draws 360 columns per turn. Sequences of commands
start, change and kill animated layers that show rich text or pictures; a
preview pane simulates the rotor. A playlist plays sequences and text files
one after another, and a watched pickup folder takes the documents dropped
into it.
.
The package also holds rova-cli, which lists, plays and renders sequences
without a window.")
# dpkg-shlibdeps finds the libraries the programs link. The Qt SVG module is loaded only as
# plugins (the icons are SVG files) and the linker drops the unused library from the program,
# so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= 6.4)")

include(CPack)
