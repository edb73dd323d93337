# The Debian package: everything the install rules put under the prefix, with the
# dependencies that dpkg-shlibdeps finds in the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME courtside-portraits-editor)
set(CPACK_PACKAGE_VENDOR "Courtside Portraits Editor developers")
set(CPACK_PACKAGE_CONTACT "Courtside Portraits Editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "editor for the player portrait archives of a basketball game")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Opens a portrait archive (a .big file with a player's or a jersey's portrait
picture and its 7-character identifier), shows its identifier and size, saves
a copy under a new identifier, and exports or imports the portrait picture as
an FSH image or a picture, with a preview of the portrait. A command line,
courtside-portraits-cli, does the same for many archives at once.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/courtside/portraits-editor)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's lettering asks for these fonts first; Qt reads WebP pictures for
# picture import (in the window and the command line) through a plugin that no
# library dependency names.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
