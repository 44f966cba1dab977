%!test
%! F = KVBegin (4e-3, 633e-9, 32);
%! P = rand (32);
%! G = KVMultPhase (P, KVMultPhase (P, F));
%! assert (KVPhase (G), 2 * P, 1e-12);
%! assert (abs (G(:, 1:32)), ones (32), 1e-15);
