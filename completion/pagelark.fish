# fish completion for pagelark, the window: the page file to open, found as
# pagelark-cli's completion beside this file finds page files.
source (status dirname)/pagelark-cli.fish
complete -c pagelark -f
complete -c pagelark -s h -l help -d 'print the help and exit'
complete -c pagelark -l version -d 'print the version and exit'
complete -c pagelark -n 'test (count (commandline -opc)) -eq 1' -a '(__pagelark_page_files)'
