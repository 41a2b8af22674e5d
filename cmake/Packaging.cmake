# `cpack -G DEB` in a build folder makes marquetto_<version>_<arch>.deb. The libraries the programs link come
# from dpkg-shlibdeps; the programs the deck runs (and the Qt plug-ins it loads) are named here.

set(CPACK_PACKAGE_NAME marquetto)
set(CPACK_PACKAGE_VENDOR "Marquetto")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Launcher deck: a floating panel of tiles on the desktop")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Marquetto is a floating panel of tiles that sits on the desktop. A click opens"
    "an application, a file or a web address, runs a script or a scene of several"
    "steps, plays music, switches the audio output, toggles a Bluetooth device,"
    "copies a snippet or runs a system action. Control-Alt-Space summons the deck"
    "above everything."
    "."
    "marquetto-deck, its command-line companion, reads and edits the deck and runs"
    "its tiles.")
set(CPACK_PACKAGE_CONTACT "Marquetto maintainers <maintainers@users.noreply.c-seed-fff91fb0.example>")
set(CPACK_STRIP_FILES ON)
# DESTDIR marks a package build, which leaves the MIME, desktop and icon caches to dpkg's triggers.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_NAME marquetto)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# gio opens files and web addresses and empties the trash; pactl switches outputs and volume; the Qt plug-ins
# draw SVG symbols and import WebP, TIFF and ICNS pictures.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglib2.0-bin, pulseaudio-utils, shared-mime-info, libqt6svg6, qt6-image-formats-plugins")
# The next meeting comes from the desktop's calendars; the focus timer's end plays the desktop's sound.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "evolution-data-server, gnome-session-canberra")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "zsh, syncthing, bluez, upower, network-manager, geoclue-2.0")
if(MARQUETTO_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MARQUETTO_HOMEPAGE})
endif()

include(CPack)
