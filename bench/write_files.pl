#!/usr/bin/perl
# The floor of a first HotSync into an empty favourites folder: the least a
# program must do to write the same files as safely. Each file is written to
# a temporary beside it and renamed into place (a file is never seen
# half-written under its name), each folder is made once, and the file
# system is flushed once at the end, as the HotSync does.
#
#   write_files.pl --save DIR LIST    records every file under DIR (its path
#                                     and bytes) in LIST
#   write_files.pl DIR LIST           writes those files under DIR again
use strict;
use warnings;
use File::Find;

my $save = @ARGV && $ARGV[0] eq '--save' ? shift : undef;
my ($dir, $list) = @ARGV;
die "usage: $0 [--save] DIR LIST\n" unless defined $list;

if ($save) {
  my @files;
  find({no_chdir => 1, wanted => sub { push @files, substr($_, length($dir) + 1) if -f $_ }}, $dir);
  open my $out, '>:raw', $list or die "$list: $!\n";
  for my $file (sort @files) {
    open my $in, '<:raw', "$dir/$file" or die "$file: $!\n";
    my $bytes = do { local $/; <$in> };
    print $out pack('N/a* N/a*', $file, $bytes);
  }
  close $out or die "$list: $!\n";
  exit 0;
}

open my $in, '<:raw', $list or die "$list: $!\n";
my $all = do { local $/; <$in> };
my %made;
for (my $at = 0; $at < length $all;) {
  my ($file, $bytes) = unpack('N/a* N/a*', substr($all, $at));
  $at += 8 + length($file) + length($bytes);
  my $folder = $file =~ m{^(.*)/[^/]*$} ? $1 : '';
  my $path = '';
  for my $part (split m{/}, $folder) {
    $path .= "/$part";
    next if $made{$path}++;
    mkdir "$dir$path" or $!{EEXIST} or die "$dir$path: $!\n";
  }
  my $temp = "$dir/$file.tmp$$";
  open my $fh, '>:raw', $temp or die "$temp: $!\n";
  print $fh $bytes;
  close $fh or die "$temp: $!\n";
  rename $temp, "$dir/$file" or die "$file: $!\n";
}
require 'syscall.ph';
opendir my $handle, $dir or die "$dir: $!\n";
syscall(&SYS_syncfs, fileno $handle) == 0 or die "syncfs: $!\n";
