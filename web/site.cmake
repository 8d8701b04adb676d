# Run by the build once the module links: puts the page's parts into the site folder stamped with
# the build's name, and writes the service worker that keeps exactly the listed files.
#   cmake -DSITE=<site folder> -DPARTS=<parts folder> -DFILES=<list of the site's files>
#         -DTEMPLATE=<service-worker.js.in> -P site.cmake
# A listed file comes from the parts folder, or else from the site folder, where the module links.
# The build's name is made from the contents of the files before stamping, so that a build with
# other files gets another name, and the same files the same name.
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${FILES} files)
list(REMOVE_ITEM files service-worker.js)
set(sources "")
set(hashes "")
foreach(file IN LISTS files)
    if(EXISTS ${PARTS}/${file})
        set(source ${PARTS}/${file})
    elseif(EXISTS ${SITE}/${file})
        set(source ${SITE}/${file})
    else()
        message(FATAL_ERROR "The site's file ${file} is missing: neither ${PARTS}/${file} nor "
                            "${SITE}/${file} exists.")
    endif()
    list(APPEND sources ${source})
    file(SHA256 ${source} hash)
    string(APPEND hashes "${file} ${hash}\n")
endforeach()
string(SHA256 SITE_HASH "${hashes}")
string(SUBSTRING ${SITE_HASH} 0 16 SITE_HASH)

# Every address by which the page asks for a file of the site names the build: the page and the
# loader say `?v=@SITE_HASH@`, and a module's imports of its neighbours get it here, since an
# import cannot be given a variable. Then no file of one build is taken for another's, whether
# from a cache or from the server.
set(SITE_FILES "")
foreach(file source IN ZIP_LISTS files sources)
    if(source STREQUAL "${PARTS}/${file}")
        if(file MATCHES "\\.(html|js|css|webmanifest)$")
            file(READ ${source} text)
            string(REPLACE "@SITE_HASH@" ${SITE_HASH} text "${text}")
            if(file MATCHES "\\.js$")
                string(REGEX REPLACE "(from |import |import\\()'\\./([A-Za-z0-9_.-]+\\.js)'"
                       "\\1'./\\2?v=${SITE_HASH}'" text "${text}")
                # An import written otherwise would reach another build's module unseen.
                if(text MATCHES "(from |import |import\\()[\"'`]\\./[^\"'`?]+[\"'`]")
                    message(FATAL_ERROR "${file}: an import that does not name the build: "
                                        "${CMAKE_MATCH_0}; write it as from './name.js'")
                endif()
            endif()
            set(before "")
            if(EXISTS ${SITE}/${file})
                file(READ ${SITE}/${file} before)
            endif()
            if(NOT before STREQUAL text)
                file(WRITE ${SITE}/${file} "${text}")
            endif()
        else()
            file(COPY_FILE ${source} ${SITE}/${file} ONLY_IF_DIFFERENT)
        endif()
    endif()
    file(SHA256 ${SITE}/${file} hash)
    if(SITE_FILES)
        string(APPEND SITE_FILES ",\n  ")
    endif()
    string(APPEND SITE_FILES "['${file}', '${hash}']")
endforeach()
configure_file(${TEMPLATE} ${SITE}/service-worker.js @ONLY)
