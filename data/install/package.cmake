# The Debian package, built by `cpack` (or the `package` target) from the
# install rules: vellara_<version>-1_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellara)
set(CPACK_PACKAGE_VENDOR "Vellara maintainers")
set(CPACK_PACKAGE_CONTACT "Vellara maintainers <maintainers@users.noreply.c-seed-f7c48c62.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "card readings with divination cards")
set(CPACK_PACKAGE_DESCRIPTION "\
Vellara lays out card readings with divination cards. Pick a deck and a
layout, a spread of card positions, and the program deals one card to every
position face down, some of them reversed. Turning a card up shows its
picture large, its name and meaning, and the meaning of its position.
Decks of your own pictures and layouts of your own design can be added.
A sample deck of the 22 major cards and four layouts come with it.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian wants the programs of that section in /usr/games, and
# the package keeps them in /usr/bin like every other install.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the binary. The fonts cannot: the statically
# linked libwmf draws no metafile at all without the URW fonts, and the
# windows are laid out for their Nimbus Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-urw-base35)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Staged through DESTDIR, so that the starter and the menu entry name the
# /usr paths and not the staging folder.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
