# Sourced by the load scripts: the gateway's request encoding for ASCII text, and the codes of
# the Chinese names in the statements they send.
# shellcheck shell=bash

# The gateway's encoding of ASCII text: decimal codes joined by "A".
ascii() {
    local text=$1 out="" i
    for ((i = 0; i < ${#text}; i++)); do
        out+="${out:+A}$(printf '%d' "'${text:i:1}")"
    done
    printf '%s' "$out"
}
# Joins encoded pieces with "A".
joinA() {
    local IFS=A
    printf '%s' "$*"
}
# 用户管理, 用户, 密码, 文件名, 页面风格
# shellcheck disable=SC2034 # used by the scripts that source this
USER_TABLE="-11325A-17497A-17956A-16147" USER="-11325A-17497" PASSWORD="-15396A-15637"
# shellcheck disable=SC2034
PAGE_NAME="-12604A-17154A-15365" PAGE_STYLE="-11597A-15386A-18457A-18191"
