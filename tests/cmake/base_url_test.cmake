# Which catalogue addresses the build accepts. Run with cmake -P.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/BaseUrl.cmake)

set(accepted
    "https://127.0.0.1:47443/" "http://host/" "HTTPS://Catalogue.Example/" "https://[::1]:8443/")
set(refused
    "https://host" "https://host/Category/" "ftp://host/" "host/" "" "https://" "https:///"
    "https://host/?a=1/" "https://user@host/" "https://ho st/" "https://host/#/")

foreach(url IN LISTS accepted)
  zendra_base_url_problem("${url}" problem)
  if(problem)
    message(SEND_ERROR "refused a good address: ${problem}")
  endif()
endforeach()
foreach(url IN LISTS refused)
  zendra_base_url_problem("${url}" problem)
  if(NOT problem)
    message(SEND_ERROR "accepted \"${url}\"")
  endif()
endforeach()
