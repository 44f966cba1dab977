%!test
%! F = KVCircScreen (1e-3, 0, 0, KVBegin (4e-3, 633e-9, 64));
%! assert (F(33, 33), 0);
%! assert (F(1, 1), 1);
