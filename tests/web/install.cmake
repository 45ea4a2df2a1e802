# Installs playwright-core for the browser test from the committed package-lock into DEST
# (cmake -DSOURCE=tests/web -DDEST=... -DNPM=npm -P install.cmake). Runs npm only when the lock
# changed since the last install; never downloads a browser.
file(MAKE_DIRECTORY ${DEST})
set(stamp ${DEST}/node_modules/.installed-lock.json)
if(EXISTS ${stamp} AND EXISTS ${DEST}/node_modules/playwright-core/package.json)
  file(READ ${stamp} installed)
  file(READ ${SOURCE}/package-lock.json wanted)
  if(installed STREQUAL wanted)
    return()
  endif()
endif()
configure_file(${SOURCE}/package.json ${DEST}/package.json COPYONLY)
configure_file(${SOURCE}/package-lock.json ${DEST}/package-lock.json COPYONLY)
set(ENV{PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD} 1)
execute_process(COMMAND ${NPM} ci --no-audit --no-fund --ignore-scripts
                WORKING_DIRECTORY ${DEST} RESULT_VARIABLE result TIMEOUT 280)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "npm ci for the browser test failed: ${result}")
endif()
configure_file(${SOURCE}/package-lock.json ${stamp} COPYONLY)
