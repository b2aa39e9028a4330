# The catalogue base URL is baked into the program, and every request path is appended to it
# as it stands: it has to be the http or https address of a site root, ending in "/".
# Sets `result_var` to a message saying what is wrong, or to the empty string.
function(zendra_base_url_problem url result_var)
  set(problem "")
  if(NOT url MATCHES "^[Hh][Tt][Tt][Pp][Ss]?://")
    set(problem "it does not begin with http:// or https://")
  elseif(url MATCHES "[ \t\r\n]")
    set(problem "it contains white space")
  elseif(NOT url MATCHES "/$")
    set(problem "it does not end in \"/\"")
  elseif(NOT url MATCHES "^[Hh][Tt][Tt][Pp][Ss]?://[^/?#@]+/$")
    set(problem "it is not the root of a site (a host, an optional port, then one \"/\")")
  endif()
  if(problem)
    set(problem "ZENDRA_BASE_URL \"${url}\" is not a catalogue address: ${problem}. "
                "Give the site root, for example -DZENDRA_BASE_URL=https://host/")
  endif()
  set(${result_var} "${problem}" PARENT_SCOPE)
endfunction()
