#!/usr/bin/env bash
# Writes the manual page ventacalc-cli.1 from the program's own help, so the
# page and `ventacalc-cli [<command>] --help` never disagree:
#   make-cli-man.sh PATH/TO/ventacalc-cli OUT.1
set -euo pipefail
cli="$1"
out="$2"
export LC_ALL=C.UTF-8

# Help text as roff: literal backslashes and minus signs, no line taken for a
# request.
roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^[.']/\\\\\\&&/"; }
# The lines of the overview's section titled $1, up to the next blank line.
section() { sed -n "/^$1:\$/,/^\$/{/^$1:\$/d;/^\$/d;p}"; }

overview="$("$cli" --help)"
version="$("$cli" --version)"
commands="$(printf '%s\n' "$overview" | section 命令)"

{
    printf '.TH VENTACALC\\-CLI 1 "" "%s" "用户命令"\n' "$version"
    printf '.ad l\n.nh\n'
    printf '.SH 名称\nventacalc\\-cli \\- 暖通空调计算的命令行程序\n'
    printf '.SH 概要\n.nf\n'
    printf '%s\n' "$overview" | sed -n '1,/^$/p' | sed '/^$/d' | roff
    printf '.fi\n.SH 描述\n'
    printf 'ventacalc\\-cli 用与窗口程序 ventacalc(1) 相同的计算核心和提示，按命令计算一个算例，\n'
    printf '或用 \\fB\\-\\-csv\\fR 批量计算一个 CSV 文件的各行。每个命令的用法、参数、输出和例子如下，\n'
    printf '与 \\fBventacalc\\-cli\\fR \\fI命令\\fR \\fB\\-\\-help\\fR 的说明相同。\n'
    printf '.SH 命令\n'
    while read -r name summary; do
        [ -n "$name" ] || continue
        printf '.SS %s \\- %s\n.nf\n' "$(printf '%s' "$name" | roff)" "$(printf '%s' "$summary" | roff)"
        "$cli" "$name" --help | roff
        printf '.fi\n'
    done <<<"$commands"
    printf '.SH 选项\n.nf\n'
    printf '%s\n' "$overview" | section 选项 | roff
    printf '.fi\n.SH 退出状态\n.nf\n'
    printf '%s\n' "$overview" | section 退出状态 | roff
    printf '.fi\n.SH 参见\nventacalc(1)\n'
} >"$out.tmp"
mv "$out.tmp" "$out"
