#!/usr/bin/perl
# Reads a registry.reg with the REGEDIT4 importer of libwin-hivex-perl
# (Win::Hivex::Regedit::reg_import) into an in-memory hive, and prints what
# it took: "KEY <path>" lines and "VALUE <name>|<type>|<hex bytes>" lines,
# keys in the order they were made, values in their order.
# Usage: hivex_import.pl registry.reg code-page   (e.g. cp1252)
use strict;
use warnings;
use Win::Hivex::Regedit qw(reg_import);

# The part of a hive handle that reg_import uses.
package MemoryHive;
sub new { my $root = { name => "", children => [], values => [] }; bless { root => $root, order => [] }, shift }
sub root { $_[0]{root} }
sub node_get_child {
  my ($self, $node, $name) = @_;
  foreach (@{$node->{children}}) { return $_ if lc($_->{name}) eq lc($name) }
  return undef;
}
sub node_add_child {
  my ($self, $parent, $name) = @_;
  my $path = ($parent == $self->{root} ? "" : $parent->{path} . "\\") . $name;
  my $node = { name => $name, path => $path, children => [], values => [] };
  push @{$parent->{children}}, $node;
  push @{$self->{order}}, $node;
  return $node;
}
sub node_values { @{$_[1]{values}} }
sub value_key { $_[1]{key} }
sub value_value { ($_[1]{t}, $_[1]{value}) }
sub node_set_values { $_[1]{values} = $_[2] }

package main;
my ($file, $codePage) = @ARGV;
my $hive = MemoryHive->new;
open(my $fh, "<:encoding(UTF-8)", $file) or die "$file: $!\n";
reg_import($fh, sub { ($hive, "\\" . $_[0]) }, encoding => $codePage);
binmode(STDOUT, ":encoding(UTF-8)");
foreach my $node (@{$hive->{order}}) {
  print "KEY $node->{path}\n";
  foreach (@{$node->{values}}) { print "VALUE $_->{key}|$_->{t}|", unpack("H*", $_->{value}), "\n" }
}
