%!test
%! F = KVBegin (4e-3, 633e-9, 32);
%! assert (KVPhase (F), zeros (32));
%! P = KVPhase (KVMultPhase (0.5 * ones (32), F));
%! assert (P, 0.5 * ones (32), 1e-12);
