# Deployment values: every host, address and port the installer talks to.
# The release preset keeps the product's values; the test preset points all of
# them at the loopback interface, and configuring refuses anything else there.
set(TESSARO_DEPLOYMENT "release" CACHE STRING "release or test")
set_property(CACHE TESSARO_DEPLOYMENT PROPERTY STRINGS release test)

set(TESSARO_GATEWAY_HOST "api.orvane.com" CACHE STRING "API gateway host name")
set(TESSARO_GATEWAY_FALLBACK_IP "203.0.113.10" CACHE STRING "API gateway fallback IPv4 address")
set(TESSARO_GATEWAY_PORT 80 CACHE STRING "API gateway port")
set(TESSARO_CDN_HOST "cdn.orvane.com" CACHE STRING "CDN host of the fallback package address")
set(TESSARO_CDN_PORT 80 CACHE STRING "CDN port")
set(TESSARO_ANALYTICS_HOST "sensor.orvane.com" CACHE STRING "Analytics host name")
set(TESSARO_ANALYTICS_PORT 80 CACHE STRING "Analytics port")
set(TESSARO_REPORT_HOST "report.orvane.com" CACHE STRING "Install report host name")
set(TESSARO_REPORT_PORT 80 CACHE STRING "Install report port")
set(TESSARO_WEB_SITE_ROOT "https://tessaro.orvane.com/" CACHE STRING "Product web site root URL")
set(TESSARO_PRIMARY_DNS "114.114.114.114" CACHE STRING "Public resolver the HTTP client switches to")
set(TESSARO_PUBLIC_DNS "114.114.114.114;114.114.115.115;223.5.5.5;223.6.6.6;8.8.8.8;8.8.4.4"
    CACHE STRING "Built-in public resolver list, in order")
set(TESSARO_DNS_PORT 53 CACHE STRING "DNS port")

# The analytics SDK's RSA key pair (Base64 DER, one line each). The files in
# cmake/deploy/ are a development pair; release builds point these at theirs.
set(TESSARO_SDK_PUBLIC_KEY_FILE "${CMAKE_SOURCE_DIR}/cmake/deploy/dev_sdk_public_key.b64"
    CACHE FILEPATH "SubjectPublicKeyInfo of the SDK key pair, Base64 DER")
set(TESSARO_SDK_PRIVATE_KEY_FILE "${CMAKE_SOURCE_DIR}/cmake/deploy/dev_sdk_private_key.b64"
    CACHE FILEPATH "PKCS#1 private key of the SDK key pair, Base64 DER")
file(STRINGS ${TESSARO_SDK_PUBLIC_KEY_FILE} TESSARO_SDK_PUBLIC_KEY LIMIT_COUNT 1)
file(STRINGS ${TESSARO_SDK_PRIVATE_KEY_FILE} TESSARO_SDK_PRIVATE_KEY LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${TESSARO_SDK_PUBLIC_KEY_FILE} ${TESSARO_SDK_PRIVATE_KEY_FILE})

set(_hosts ${TESSARO_GATEWAY_HOST} ${TESSARO_GATEWAY_FALLBACK_IP} ${TESSARO_CDN_HOST}
           ${TESSARO_ANALYTICS_HOST} ${TESSARO_REPORT_HOST} ${TESSARO_PRIMARY_DNS}
           ${TESSARO_PUBLIC_DNS})
if(TESSARO_WEB_SITE_ROOT MATCHES "^[a-z]+://([^/:]+)")
  list(APPEND _hosts ${CMAKE_MATCH_1})
else()
  message(FATAL_ERROR "TESSARO_WEB_SITE_ROOT must be an absolute URL")
endif()

if(TESSARO_DEPLOYMENT STREQUAL "test")
  foreach(host IN LISTS _hosts)
    if(NOT host MATCHES "^(127\\.[0-9]+\\.[0-9]+\\.[0-9]+|localhost)$")
      message(FATAL_ERROR "Test builds may only name loopback hosts, not '${host}'")
    endif()
  endforeach()
endif()

set(TESSARO_PUBLIC_DNS_LIST "")
foreach(server IN LISTS TESSARO_PUBLIC_DNS)
  string(APPEND TESSARO_PUBLIC_DNS_LIST "\"${server}\", ")
endforeach()
list(LENGTH TESSARO_PUBLIC_DNS TESSARO_PUBLIC_DNS_COUNT)

configure_file(${CMAKE_SOURCE_DIR}/cmake/deployment.h.in
               ${CMAKE_BINARY_DIR}/generated/deployment.h @ONLY)
add_library(tessaro_deployment INTERFACE)
target_include_directories(tessaro_deployment INTERFACE ${CMAKE_BINARY_DIR}/generated)
