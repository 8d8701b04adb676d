# Run by the build after the module links: writes the service worker into the site folder, with
# the list of the site's files and a cache name made from their contents, so that every build
# with other files gets a cache of its own.
#   cmake -DSITE=<site folder> -DTEMPLATE=<service-worker.js.in> -P site.cmake
file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files service-worker.js)
list(SORT files)
set(hashes "")
set(SITE_FILES "'./'")
foreach(file IN LISTS files)
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes "${file} ${hash}\n")
    string(APPEND SITE_FILES ", '${file}'")
endforeach()
string(SHA256 SITE_HASH "${hashes}")
string(SUBSTRING ${SITE_HASH} 0 16 SITE_HASH)
configure_file(${TEMPLATE} ${SITE}/service-worker.js @ONLY)
