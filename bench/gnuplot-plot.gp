# The gnuplot peer of the benchmark table: one result file plotted as one line.
# Usage: gnuplot -e "datafile='IN'; pngfile='OUT.png'" bench/gnuplot-plot.gp
# Columns 2 and 4 are the records' X position and value; the drive line and the condition
# line are skipped.
set terminal pngcairo size 1200,800
set output pngfile
set datafile separator ","
set xlabel "LBA"
set ylabel "RATE[MB/SEC]"
plot datafile skip 2 using 2:4 with lines notitle
