# Run by cpack once it has laid out the installation it packs: a player who unpacks the bundle
# starts the game with ./flitmere in its top folder, a link to the launcher.
file(CREATE_LINK bin/flitmere "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/flitmere" SYMBOLIC)
