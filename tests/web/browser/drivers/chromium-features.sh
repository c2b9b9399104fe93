#!/bin/sh
# Starts the chromium that GJ_CHROMIUM names with the arguments given, its
# --disable-features switches joined into one: chromium reads the last one
# alone, and playwright gives one of its own before the driver's.
features=
for argument do
    shift
    case $argument in
        --disable-features=*) features=${features:+$features,}${argument#--disable-features=} ;;
        *) set -- "$@" "$argument" ;;
    esac
done
exec "$GJ_CHROMIUM" "$@" ${features:+"--disable-features=$features"}
