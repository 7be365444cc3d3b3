#!/bin/sh
# A PDF printer for the printing tests: starts cupsd by hand (no service manager needed) and adds
# a default cups-pdf queue writing into a folder. Needs root and the packages cups, cups-bsd and
# printer-driver-cups-pdf (scripts/install-deps.sh).
#   test-printer.sh start QUEUE OUTDIR   prints "ready" when the queue takes jobs
#   test-printer.sh stop QUEUE           removes the queue, gives the default back and stops the
#                                        cupsd this script started
set -e
PIDFILE=/run/vitrina-test-cupsd.pid
DEFAULTFILE=/run/vitrina-test-cups-default
running() { lpstat -r 2>/dev/null | grep -q "is running"; }  # lpstat -r exits 0 either way
case "$1" in
start)
    QUEUE=${2:?queue}
    OUTDIR=${3:?folder}
    [ "$(id -u)" -eq 0 ] || { echo "not root" >&2; exit 2; }
    [ -x /usr/sbin/cupsd ] && [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups or cups-pdf missing" >&2; exit 2; }
    mkdir -p /run/cups "$OUTDIR"
    chmod 1777 "$OUTDIR"
    if ! running; then
        /usr/sbin/cupsd -f >/dev/null 2>&1 &
        echo $! >"$PIDFILE"
        i=0
        while ! running && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
    fi
    running || { echo "cupsd does not answer" >&2; exit 2; }
    # cups-pdf reads /etc/cups/cups-pdf-QUEUE.conf for the queue with the device cups-pdf:/QUEUE.
    printf 'Out %s\nLabel 2\n' "$OUTDIR" >"/etc/cups/cups-pdf-$QUEUE.conf"
    lpadmin -p "$QUEUE" -E -v "cups-pdf:/$QUEUE" -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd -o printer-is-shared=false
    # Pages reach cups-pdf as PostScript; cairo's keeps the text readable in the PDF it writes.
    lpadmin -p "$QUEUE" -o pdftops-renderer-default=pdftocairo
    # The default this queue takes over, given back by stop.
    [ -f "$DEFAULTFILE" ] || lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p' >"$DEFAULTFILE"
    lpadmin -d "$QUEUE"
    cupsenable "$QUEUE"
    cupsaccept "$QUEUE"
    echo ready
    ;;
stop)
    QUEUE=${2:?queue}
    if lpstat -p "$QUEUE" >/dev/null 2>&1; then
        lpadmin -x "$QUEUE" || true
        rm -f "/etc/cups/cups-pdf-$QUEUE.conf"
    fi
    if [ -f "$DEFAULTFILE" ]; then
        previous=$(cat "$DEFAULTFILE")
        [ -n "$previous" ] && [ "$previous" != "$QUEUE" ] && lpadmin -d "$previous" || true
        rm -f "$DEFAULTFILE"
    fi
    if [ -f "$PIDFILE" ]; then
        pid=$(cat "$PIDFILE")
        kill -TERM "$pid" 2>/dev/null || true
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
        rm -f "$PIDFILE"
    fi
    ;;
*)
    echo "usage: $0 start QUEUE OUTDIR | stop QUEUE" >&2
    exit 2
    ;;
esac
