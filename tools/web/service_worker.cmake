# Writes the site's service-worker.js from its template, naming every file of the site (the
# page as "./", where the game starts) and a cache for this build: skyring-VERSION-HASH, the hash
# that of the files and the template, so that any change to the site is a new build.
#   cmake -DSITE=DIR -DVERSION=V -DTEMPLATE=service-worker.js -P service_worker.cmake
file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files service-worker.js)
list(SORT files)
file(SHA256 ${TEMPLATE} hashes)
set(SKYRING_FILES "")
foreach(name IN LISTS files)
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND hashes " ${name} ${hash}")
  if(name STREQUAL "index.html")
    set(name "./")
  endif()
  string(APPEND SKYRING_FILES "'${name}', ")
endforeach()
string(REGEX REPLACE ", $" "" SKYRING_FILES "${SKYRING_FILES}")
string(SHA256 hash "${hashes}")
string(SUBSTRING ${hash} 0 16 hash)
set(SKYRING_CACHE "skyring-${VERSION}-${hash}")
configure_file(${TEMPLATE} ${SITE}/service-worker.js @ONLY)
