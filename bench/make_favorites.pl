#!/usr/bin/perl
# Makes the favourites the whole-process benchmark syncs, the same bytes on
# every machine: N links, 20 to a folder, in N/20 folders (a top folder for
# every 20th, the rest one level below it), with titles and addresses of
# varied length from a fixed pseudo-random sequence.
#
#   make_favorites.pl bookmarks N FILE    a Netscape bookmark file
#   make_favorites.pl folder N DIR        an Internet Explorer favourites folder
#   make_favorites.pl handheld N FILE     a KestroDB.pdb whose records are all new
#   make_favorites.pl deep DEPTH FILE     a bookmark file of folders nested DEPTH deep, one
#                                         link at the bottom
use strict;
use warnings;

my ($kind, $n, $out) = @ARGV;
die "usage: $0 bookmarks|folder|handheld|deep N OUT\n" unless defined $out && $n =~ /^\d+$/;

my $state = 12345;
sub rnd {    # a small linear congruential sequence: the same on every machine
  $state = ($state * 1103515245 + 12345) % 2147483648;
  return int($state / 65536) % $_[0];
}
my @words = qw(news weather travel recipes garden music radio science space history
  football tennis cinema books library museum maps trains flights hotels bank
  shop market forum wiki blog archive photos video games chess code linux palm
  handheld sync calendar mail search dictionary translate health running);
sub words { join ' ', map { ucfirst $words[rnd(scalar @words)] } 1 .. $_[0] }

# The tree: a list of folders, each with its title, its parent's index (-1 at
# the top) and its links [title, url].
my @folders;
for my $f (0 .. int($n / 20) - 1) {
  my $parent = $f % 20 == 0 ? -1 : $f - $f % 20;
  my @links;
  for my $i (0 .. 19) {
    my $host = $words[rnd(scalar @words)] . ($f * 20 + $i) . '.example.com';
    my $path = join '/', map { $words[rnd(scalar @words)] } 0 .. rnd(4);
    push @links, [words(1 + rnd(5)) . " $i", "http://$host/$path/index.html?id=" . rnd(100000)];
  }
  push @folders, {title => words(1 + rnd(3)) . " $f", parent => $parent, links => \@links};
}
my @children;
push @{$children[$folders[$_]{parent} + 1]}, $_ for 0 .. $#folders;    # slot 0: the top

sub write_file {
  my ($path, $text) = @_;
  open my $fh, '>:raw', $path or die "$path: $!\n";
  print $fh $text;
  close $fh or die "$path: $!\n";
}

my $date = 1100000000;
sub bookmarks {
  my $text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<META HTTP-EQUIV=\"Content-Type\" "
      . "CONTENT=\"text/html; charset=UTF-8\">\r\n<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n\r\n<DL><p>\r\n";
  my $walk;
  $walk = sub {
    my ($f, $pad) = @_;
    my $d = $date + $f * 600;
    $text .= "$pad<DT><H3 ADD_DATE=\"$d\" LAST_MODIFIED=\"$d\">$folders[$f]{title}</H3>\r\n$pad<DL><p>\r\n";
    $walk->($_, "$pad    ") for @{$children[$f + 1] || []};
    for my $link (@{$folders[$f]{links}}) {
      $text .= "$pad    <DT><A HREF=\"$link->[1]\" ADD_DATE=\"$d\" LAST_VISIT=\"$d\" "
          . "LAST_MODIFIED=\"$d\">$link->[0]</A>\r\n";
    }
    $text .= "$pad</DL><p>\r\n";
  };
  $walk->($_, '    ') for @{$children[0]};
  write_file($out, "$text</DL><p>\r\n");
}

sub folder {
  my $walk;
  $walk = sub {
    my ($f, $dir) = @_;
    my $path = "$dir/$folders[$f]{title}";
    mkdir $path or die "$path: $!\n";
    $walk->($_, $path) for @{$children[$f + 1] || []};
    for my $link (@{$folders[$f]{links}}) {
      write_file("$path/$link->[0].url",
        "[DEFAULT]\r\nBASEURL=$link->[1]\r\n[InternetShortcut]\r\nURL=$link->[1]\r\nModified=C0D1E2F3A4B5C60100\r\n");
    }
  };
  mkdir $out;
  $walk->($_, $out) for @{$children[0]};
}

# Records as the handheld keeps them (Name NUL, Parent, Level, Status, URL NUL),
# each new (Status bit 3) and dirty, parents before their children.
sub handheld {
  my ($seed, @records) = (0x5A3000);
  my $walk;
  $walk = sub {
    my ($f, $parent, $level) = @_;
    my $id = ++$seed;
    push @records, [$id, pack('Z* N n C Z*', $folders[$f]{title}, $parent, $level, 0x04 | 0x08, '')];
    $walk->($_, $id, $level + 1) for @{$children[$f + 1] || []};
    push @records, [++$seed, pack('Z* N n C Z*', $_->[0], $id, $level + 1, 0x01 | 0x04 | 0x08, $_->[1])]
        for @{$folders[$f]{links}};
  };
  $walk->($_, 0, 0) for @{$children[0]};
  my $offset = 78 + 8 * @records + 2;
  my $image = pack('a32 n n N N N N N N a4 a4 N N n', 'KestroDB', 0, 0, 3061152000, 3061152000, 0, 1, 0, 0,
    'DATA', 'Kstr', $seed, 0, scalar @records);
  for my $r (@records) {
    $image .= pack('N C C n', $offset, 0x40, $r->[0] >> 16, $r->[0] & 0xFFFF);
    $offset += length $r->[1];
  }
  write_file($out, $image . "\0\0" . join '', map { $_->[1] } @records);
}

sub deep {
  my $text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n";
  $text .= "<DT><H3>Level $_</H3>\r\n<DL><p>\r\n" for 1 .. $n;
  $text .= "<DT><A HREF=\"http://deep.example.com/\">The bottom</A>\r\n";
  write_file($out, $text . ("</DL><p>\r\n" x $n) . "</DL><p>\r\n");
}

my %make = (bookmarks => \&bookmarks, folder => \&folder, handheld => \&handheld, deep => \&deep);
($make{$kind} or die "unknown kind $kind\n")->();
