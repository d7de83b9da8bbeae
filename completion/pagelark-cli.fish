# fish completion for pagelark-cli, the same as the bash one: installed in
# fish's vendor_completions.d, which fish reads at the first Tab after the name.

# The files and folders fish would offer for the word being completed.
function __pagelark_paths
    complete -C "__fish_command_without_completions "(commandline -ct)
end

# Files whose names match the pattern, whatever their case, and folders.
function __pagelark_files_named -a pattern
    set -l paths (__pagelark_paths)
    string match -rei -- $pattern $paths
    string match -re -- '/$' $paths
end

# Page files by the name the games give them (VSWAP.WL6, vswap.sod, ...), and
# folders to reach them; every file where no such name is in sight, since a
# page file written by pagelark-cli may be named anything.
function __pagelark_page_files
    set -l named (__pagelark_files_named '(^|/)vswap\.[^/]*$')
    if string match -qrv -- '/$' $named
        printf '%s\n' $named
    else
        __pagelark_paths
    end
end

# Whether the word being completed is operand N (or N+, N or later) of one
# of the commands: the words after the command that are neither an option
# nor an option's value. Every option takes a value but --json, --dither and
# --help, and one given as --option=value takes it along.
function __pagelark_cli_operand_is -a commands n
    set -l words (commandline -opc)
    contains -- "$words[2]" (string split ' ' -- $commands); or return 1
    set -l operand 0
    set -l value_next 0
    for word in $words[3..-1]
        if test $value_next = 1
            set value_next 0
            continue
        end
        switch $word
            case '--' --json --dither --help -h '--*=*'
            case '-*'
                set value_next 1
            case '*'
                set operand (math $operand + 1)
        end
    end
    test $value_next = 0; or return 1
    if string match -q -- '*+' $n
        test $operand -ge (string trim -r -c + -- $n)
    else
        test $operand -eq $n
    end
end

# INDEX=FILE of replace: a file after the '='; nothing to offer for the index.
function __pagelark_replacement
    set -l token (commandline -ct)
    string match -q -- '*=*' $token; or return
    set -l index (string split -m1 -- = $token)[1]
    set -l file (string split -m1 -- = $token)[2]
    complete -C "__fish_command_without_completions $file" | string replace -r -- '^' "$index="
end

set -l commands list save sheet pack replace diff patch
set -l command_given "__fish_seen_subcommand_from $commands"
complete -c pagelark-cli -f

complete -c pagelark-cli -n "not $command_given" -s h -l help -d 'print the help and exit'
complete -c pagelark-cli -n "not $command_given" -l version -d 'print the version and exit'
complete -c pagelark-cli -n "not $command_given" -a list -d 'print the chunk list'
complete -c pagelark-cli -n "not $command_given" -a save -d 'save chunks as pictures and sounds'
complete -c pagelark-cli -n "not $command_given" -a sheet -d 'draw the walls or the sprites on a contact sheet'
complete -c pagelark-cli -n "not $command_given" -a pack -d 'build a page file from a folder of saved chunks'
complete -c pagelark-cli -n "not $command_given" -a replace -d 'write a copy of a page file with chunks replaced'
complete -c pagelark-cli -n "not $command_given" -a diff -d 'write a mod of what a changed page file changes'
complete -c pagelark-cli -n "not $command_given" -a patch -d 'apply a mod to the page file it was made for'

# Each command's options as its --help lists them; a test holds them to it.
complete -c pagelark-cli -n $command_given -s h -l help -d 'print the help of the command and exit'
complete -c pagelark-cli -n '__fish_seen_subcommand_from list' -l game -x -a 'wolf10 wolf13 spear' \
    -d 'the descriptions of this game version'
complete -c pagelark-cli -n '__fish_seen_subcommand_from list' -l json -d 'one JSON document instead of lines'
complete -c pagelark-cli -n '__fish_seen_subcommand_from save pack' -l prefix -x \
    -d 'text in front of the kind word of the file names'
complete -c pagelark-cli -n '__fish_seen_subcommand_from save' -l format -x -a 'bmp png' \
    -d 'walls and sprites as bitmaps or as indexed PNG files'
complete -c pagelark-cli -n '__fish_seen_subcommand_from save sheet pack replace diff' -l palette -x \
    -a '(__pagelark_files_named "\.pal\$")' -d 'the palette instead of the game palette'
complete -c pagelark-cli -n '__fish_seen_subcommand_from sheet' -l kind -x -a 'walls sprites' \
    -d 'every wall or every sprite'
complete -c pagelark-cli -n '__fish_seen_subcommand_from sheet' -l columns -x -d 'pictures to a row, 1 to 256'
complete -c pagelark-cli -n '__fish_seen_subcommand_from sheet' -l scale -x -d 'each picture enlarged, 1 to 16 times'
complete -c pagelark-cli -n '__fish_seen_subcommand_from pack' -l base -x -a '(__pagelark_page_files)' \
    -d 'the page file whose chunks keep their indices'
complete -c pagelark-cli -n '__fish_seen_subcommand_from pack replace' -l dither \
    -d 'pictures and sounds diffused into the palette and 8 bits'

complete -c pagelark-cli -n "__pagelark_cli_operand_is 'list save sheet replace diff patch' 0" -a '(__pagelark_page_files)'
complete -c pagelark-cli -n '__pagelark_cli_operand_is diff 1' -a '(__pagelark_page_files)'
complete -c pagelark-cli -n '__pagelark_cli_operand_is diff 2; or __pagelark_cli_operand_is patch 1' \
    -a '(__pagelark_files_named "\.zip\$")'
complete -c pagelark-cli -n '__pagelark_cli_operand_is patch 2' -a '(__pagelark_paths)'
complete -c pagelark-cli -n '__pagelark_cli_operand_is save 1; or __pagelark_cli_operand_is pack 0' \
    -a '(__fish_complete_directories)'
complete -c pagelark-cli -n '__pagelark_cli_operand_is sheet 1' -a '(__pagelark_files_named "\.png\$")'
complete -c pagelark-cli -n "__pagelark_cli_operand_is 'pack replace' 1" -a '(__pagelark_paths)'
complete -c pagelark-cli -n '__pagelark_cli_operand_is replace 2+' -a '(__pagelark_replacement)'
